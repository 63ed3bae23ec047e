// SPDX-License-Identifier: MIT
// zurlev: looks inside level files, and unpacks a level file back into the
// sources that rebuild it.
#include <cstdio>
#include <string>
#include <vector>

#include "console_pause.h"
#include "standard_output.h"
#include "version.h"
#include "zur/console.h"
#include "zur/level_file.h"
#include "zurlev_options.h"

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

// Text is printed a file at a time and let go; JSON is one document.
int info(const LevelOptions& options) {
  std::vector<LevelFileInfo> infos;
  bool all_sound = true;
  bool first = true;
  for (const std::string& name : options.levels) {
    LevelFileInfo info = read_level_info(name, options.objects);
    all_sound = all_sound && info.sound;
    if (!info.status.ok()) {
      std::fprintf(stderr, "zurlev: %s\n", info.status.text().c_str());
    } else if (!options.json) {
      std::printf("%s%s", first ? "" : "\n", info.text.c_str());
      first = false;
    }
    if (options.json) infos.push_back(std::move(info));
  }
  if (options.json) std::printf("%s\n", info_json(infos).c_str());
  return all_sound ? kDone : kFailed;
}

void print_findings(std::FILE* to, const std::string& name, const std::vector<std::string>& list) {
  for (const std::string& finding : list)
    std::fprintf(to, "%s: %s\n", name.c_str(), finding.c_str());
}

int unpack(const LevelOptions& options) {
  const std::string& name = options.levels.front();
  const UnpackResult unpacked =
      unpack_level_file(name, {options.directory, options.width, options.force});
  print_findings(stderr, name, unpacked.problems);
  if (unpacked.failure) {
    std::fprintf(stderr, "zurlev: %s\n", unpacked.failure->c_str());
    return kFailed;
  }
  for (const std::string& path : unpacked.written) std::printf("wrote %s\n", path.c_str());
  if (!unpacked.differences.empty()) {
    std::printf("The level rebuilt from these sources will differ:\n");
    print_findings(stdout, name, unpacked.differences);
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
