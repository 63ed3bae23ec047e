// SPDX-License-Identifier: MIT
// zurconv: converts levels from the command line, for build scripts and
// build systems.
#include <cstdio>

#include "check_command.h"
#include "console_pause.h"
#include "options.h"
#include "standard_output.h"
#include "terminal_prompts.h"
#include "version.h"
#include "zur/console.h"
#include "zur/convert.h"
#include "zur/repair.h"

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

// Writes the repaired attribute map of the one level; 0 when written, else 1.
int run_repair(const Options& options) {
  const zur::RepairResult result =
      zur::repair_colours(options.levels.front(), *options.repair_colours);
  if (!result.status.ok()) {
    std::fprintf(stderr, "zurconv: %s\n", result.status.text().c_str());
    return 1;
  }
  if (!options.quiet) std::printf("%s\n", zur::repair_text(result).c_str());
  return 0;
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
  if (options.repair_colours) {
    const int status = run_repair(options);
    return output_written(0) ? status : 1;
  }

  using zur::console::is_terminal, zur::console::Stream;
  TerminalPrompts prompts(
      options, {stdout, stderr, stdin, is_terminal(Stream::kIn), is_terminal(Stream::kErr)});
  const zur::BatchResult result =
      zur::convert_levels(options.levels, prompts, {options.output, options.depfile, {}});
  const bool written = output_written(prompts.output_error());
  return result.failed.empty() && written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  zur::console::prepare();
  const int status = run(argc, argv);
  wait_for_enter_if_alone();
  return status;
}
