// SPDX-License-Identifier: MIT
// zurconv: converts levels from the command line, for build scripts and
// build systems.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/check_command.h"
#include "cli/console_pause.h"
#include "cli/depfile.h"
#include "cli/options.h"
#include "cli/standard_output.h"
#include "cli/terminal_prompts.h"
#include "cli/version.h"
#include "engine/level/batch.h"
#include "engine/level/level_prefix.h"
#include "engine/level/shared/output_file.h"
#include "engine/level/shared/platform.h"
#include "engine/level/source_files.h"

namespace {

using namespace zur::cli;

void print_help() {
  std::printf(
      "%s\n\nConverts each LEVEL (a level prefix such as levels/jungle, or its config file\n"
      "levels/jungle.txt) into the level file LEVEL.lev beside its sources.\n\n%s\n"
      "Exit status: 0 when every level converted (with --check: no level has an error),\n"
      "1 when any failed, 2 for a usage error.\n",
      usage().c_str(), option_help().c_str());
}

// Opens the depfile of the one level converted, before the conversion, so
// that a depfile path the output policy refuses stops the run before
// anything is written; false, with the reason on the error stream, then.
bool open_depfile(const Options& options, zur::OutputFile& depfile) {
  const std::string prefix = zur::prefix_from_argument(options.levels.front());
  std::vector<std::string> others = {
      options.output.value_or(prefix + std::string(zur::suffix::kLevelFile))};
  for (const std::string& source : zur::find_sources(prefix)) others.push_back(source);
  const std::optional<zur::Error> refused = depfile.open(*options.depfile, others);
  if (refused) std::fprintf(stderr, "zurconv: %s\n", refused->text().c_str());
  return !refused;
}

// Writes the rule of the level just converted into the open depfile and puts
// it in place; false, with the reason on the error stream, when it cannot.
bool write_depfile(zur::OutputFile& depfile, const zur::Conversion& conversion) {
  const std::optional<std::string> rule =
      depfile_rule(conversion.level_file, conversion.sources_read);
  if (!rule) {
    std::fprintf(stderr, "zurconv: cannot write %s: a file name holds a line break\n",
                 depfile.path().c_str());
    return false;
  }
  depfile.write_at(0, rule->data(), rule->size());
  const std::optional<zur::Error> failed = depfile.commit();
  if (failed) std::fprintf(stderr, "zurconv: %s\n", failed->text().c_str());
  return !failed;
}

// Converts every level, each argument as typed being one job; returns the
// arguments of the levels that failed.
std::vector<std::string> convert_levels(const Options& options, TerminalPrompts& prompts) {
  zur::OutputFile depfile;
  if (options.depfile && !open_depfile(options, depfile)) return options.levels;
  zur::Converter converter(prompts);
  std::vector<std::string> failed;
  for (std::size_t i = 0; i < options.levels.size(); ++i) {
    const std::string& level = options.levels[i];
    prompts.start_level(level, i + 1, options.levels.size());
    const std::string prefix = zur::prefix_from_argument(level);
    const zur::ConversionResult result =
        options.output ? converter.run_job(prefix, *options.output) : converter.run_job(prefix);
    const bool converted = result == zur::ConversionResult::kSuccess &&
                           (!options.depfile || write_depfile(depfile, converter.last()));
    if (!converted) failed.push_back(level);
  }
  return failed;
}

void print_failure_summary(const std::vector<std::string>& failed, std::size_t count) {
  std::string names;
  for (std::size_t i = 0; i < failed.size(); ++i) {
    names.append(i == 0 ? "" : ", ").append(shown_level(failed[i]));
  }
  std::fprintf(stderr, "zurconv: %zu of %zu levels failed: %s\n", failed.size(), count,
               names.c_str());
}

bool output_written(int error) {
  return standard_output_written("zurconv", error);
}

int run(int argc, char** argv) {
  const ParsedArguments parsed = parse_arguments({argv + 1, argv + argc});
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "zurconv: %s\n%s\n", parsed.error.c_str(), usage().c_str());
    return 2;
  }
  const Options& options = parsed.options;
  if (options.help || options.version) {
    if (options.help) {
      print_help();
    } else {
      print_version(stdout, "zurconv");
    }
    return output_written(0) ? 0 : 1;
  }

  if (options.check) {
    const int status = run_check(options, stdout, stderr);
    return output_written(0) ? status : 1;
  }

  TerminalPrompts prompts(
      options, {stdout, stderr, stdin, zur::platform::is_terminal(zur::platform::Stream::kIn),
                zur::platform::is_terminal(zur::platform::Stream::kErr)});
  const std::vector<std::string> failed = convert_levels(options, prompts);
  if (options.levels.size() > 1 && !failed.empty()) {
    print_failure_summary(failed, options.levels.size());
  }
  const bool written = output_written(prompts.output_error());
  return failed.empty() && written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  zur::platform::prepare_console();
  const int status = run(argc, argv);
  wait_for_enter_if_alone();
  return status;
}
