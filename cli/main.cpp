// zurconv: converts levels from the command line, for build scripts.
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "cli/check_command.h"
#include "cli/options.h"
#include "cli/terminal_prompts.h"
#include "engine/level/batch.h"

int main(int argc, char** argv) {
  using namespace zur::cli;
  const ParsedArguments parsed = parse_arguments({argv + 1, argv + argc});
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "zurconv: %s\n%s\n", parsed.error.c_str(), kUsage);
    return 2;
  }
  const Options& options = parsed.options;
  if (options.help) {
    std::printf(
        "%s\n\nConverts each LEVEL (a level prefix such as levels/jungle, or its config file\n"
        "levels/jungle.txt) into the level file LEVEL.lev beside its sources.\n\n"
        "  -y, --yes      go on when the attribute map has illegal colours (they become air)\n"
        "  -n, --no       stop at illegal colours\n"
        "                 (with neither, the terminal is asked, or the answer is no)\n"
        "  -s, --stats    show the statistics of each conversion\n"
        "  -q, --quiet    print only error messages\n"
        "  -h, --help     show this help\n"
        "      --version  show the version\n\n"
        "      --check    convert nothing: list every problem of each level's sources as\n"
        "                 FILE[:LINE]: SEVERITY: MESSAGE [CODE], then LEVEL: N errors, M warnings\n"
        "      --json     print the check as one JSON document\n"
        "      --mask     also write LEVEL-check.png: illegal pixels magenta, markers coloured\n"
        "      --strict   let warnings count for the exit status too\n\n"
        "Exit status: 0 when every level converted (checked without errors), 1 when any\n"
        "failed, 2 for a usage error.\n",
        kUsage);
    return 0;
  }
  if (options.version) {
    std::printf("zurconv 1.0 (%s)\n", zur::kProgramTitle);
    return 0;
  }

  if (options.check) return run_check(options, stdout, stderr);

  TerminalPrompts prompts(
      options, {stdout, stderr, stdin, isatty(STDIN_FILENO) == 1, isatty(STDERR_FILENO) == 1});
  zur::Converter converter(prompts);
  const std::vector<zur::ConversionResult> results =
      converter.run_batch(batch_text(options.levels));
  const bool all_converted = std::all_of(results.begin(), results.end(), [](auto result) {
    return result == zur::ConversionResult::kSuccess;
  });
  return all_converted ? 0 : 1;
}
