// SPDX-License-Identifier: MIT
// zurlev: looks inside level files, and unpacks a level file back into the
// sources that rebuild it.
#include <cstdio>
#include <string>

#include "cli/console_pause.h"
#include "cli/level_info.h"
#include "cli/standard_output.h"
#include "cli/version.h"
#include "cli/zurlev_options.h"
#include "engine/level/front_end.h"

namespace {

using namespace zur;
using namespace zur::cli;

constexpr int kDone = 0, kFailed = 1, kUsage = 2;

void print_help() {
  std::printf(
      "%s\n\n%s\nExit status: 0 when done (info: every file sound), 1 when not, 2 for a "
      "usage error.\n",
      level_usage().c_str(), level_command_help().c_str());
}

void print_findings(std::FILE* to, const std::string& name, const std::vector<Finding>& list) {
  for (const Finding& finding : list) {
    std::fprintf(to, "%s: at byte %llu: %s\n", name.c_str(),
                 static_cast<unsigned long long>(finding.offset), finding.text.c_str());
  }
}

// Text is printed a file at a time and let go; JSON is one document.
int info(const LevelOptions& options) {
  Json documents = Json::array();
  bool all_sound = true;
  bool first = true;
  for (const std::string& name : options.levels) {
    MappedFile file;
    Json document;
    if (const std::optional<Error> error = file.open(name)) {
      std::fprintf(stderr, "zurlev: %s\n", error->text().c_str());
      document = {{"file", name}, {"error", error->text()}};
      all_sound = false;
    } else {
      const LevelContents contents = read_level(file.bytes());
      all_sound = all_sound && contents.problems.empty();
      document = level_info(name, contents, options.objects);
      if (!options.json) {
        std::printf("%s%s", first ? "" : "\n", info_text(document).c_str());
        first = false;
      }
    }
    if (options.json) documents.push_back(std::move(document));
  }
  if (options.json) std::printf("%s\n", json_text(documents).c_str());
  return all_sound ? kDone : kFailed;
}

void print_unknown_size(const std::string& name, const LevelOptions& options,
                        unsigned long long pixels) {
  if (options.width) {
    std::fprintf(stderr,
                 "zurlev: %s: a width of %u does not cut the attribute stream's %s "
                 "into at most 65535 whole rows; nothing written\n",
                 name.c_str(), unsigned(*options.width), counted(pixels, "pixel").c_str());
  } else {
    std::fprintf(stderr,
                 "zurlev: %s: the map's width is not known: neither a map size section nor "
                 "the level picture's frame header gives a width × height of %s, "
                 "the attribute stream's count; give the width with --width W. Nothing "
                 "written\n",
                 name.c_str(), counted(pixels, "pixel").c_str());
  }
}

// After a failed unpack: only a failure while the complete files were put
// in place leaves some of them written.
std::string what_was_written(const std::vector<std::string>& written) {
  if (written.empty()) return "nothing written";
  std::string text = "written before the failure:";
  for (const std::string& path : written) text += " " + path;
  return text;
}

int unpack(const LevelOptions& options) {
  const std::string& name = options.levels.front();
  MappedFile file;
  if (const std::optional<Error> error = file.open(name)) {
    std::fprintf(stderr, "zurlev: %s\n", error->text().c_str());
    return kFailed;
  }
  ReadOptions read_options;
  read_options.width = options.width;
  const LevelContents contents = read_level(file.bytes(), read_options);
  const std::string prefix = unpack_prefix(name, options.directory);
  if (!contents.problems.empty()) {
    print_findings(stderr, name, contents.problems);
    std::fprintf(stderr, "zurlev: %s is not a sound level file; nothing written\n", name.c_str());
    return kFailed;
  }
  if (!contents.map_size) {
    print_unknown_size(name, options, contents.stream->pixels);
    return kFailed;
  }
  const Unpacked unpacked = unpack_level(file.bytes(), contents, prefix, options.force, name);
  if (unpacked.error) {
    std::fprintf(stderr, "zurlev: %s; %s\n", unpacked.error->text().c_str(),
                 what_was_written(unpacked.written).c_str());
    return kFailed;
  }
  for (const std::string& path : unpacked.written) std::printf("wrote %s\n", path.c_str());
  if (!contents.differences.empty()) {
    std::printf("The level rebuilt from these sources will differ:\n");
    print_findings(stdout, name, contents.differences);
  }
  return kDone;
}

// Output lost on the way to standard output fails the run.
int finish(int status) {
  return standard_output_written("zurlev", 0) ? status : kFailed;
}

int run(int argc, char** argv) {
  const ParsedLevelArguments parsed = parse_level_arguments({argv + 1, argv + argc});
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "zurlev: %s\n%s\n", parsed.error.c_str(), level_usage().c_str());
    return kUsage;
  }
  switch (parsed.options.command) {
    case LevelCommand::Help:
      print_help();
      return kDone;
    case LevelCommand::Version:
      zur::cli::print_version(stdout, "zurlev");
      return kDone;
    case LevelCommand::Info:
      return finish(info(parsed.options));
    case LevelCommand::Unpack:
      return finish(unpack(parsed.options));
  }
  return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  zur::console::prepare();
  const int status = run(argc, argv);
  wait_for_enter_if_alone();
  return status;
}
