// SPDX-License-Identifier: MIT
#include "options.h"

#include "option_table.h"
#include "zur/console.h"

namespace zur::cli {
namespace {

constexpr Option<Options> kOptions[] = {
    {{'y', "yes", "", "go on when the attribute map has illegal colours (they become air)"},
     set<&Options::illegal_colours, IllegalColourAnswer::Yes>},
    {{'n', "no", "",
      "stop at illegal colours\n(with neither, the terminal is asked, or the answer is no)"},
     set<&Options::illegal_colours, IllegalColourAnswer::No>},
    {{'s', "stats", "", "show the statistics of each conversion"},
     set<&Options::show_statistics, true>},
    {{'q', "quiet", "", "print only error messages, and no progress bar"},
     set<&Options::quiet, true>},
    {{'o', "output", "FILE", "write the level file to FILE (ending in .lev); one LEVEL only"},
     take<&Options::output>},
    {{'\0', "depfile", "FILE",
      "after a successful conversion, write FILE in Make's depfile form:\n"
      "the level file and the sources it was made from; one LEVEL only"},
     take<&Options::depfile>},
    {{'\0', "check", "",
      "convert nothing: list every problem of each level's sources,\n"
      "one per line (FILE[:LINE]: SEVERITY: MESSAGE [CODE])"},
     set<&Options::check, true>},
    {{'\0', "json", "", "with --check: one JSON document instead"}, set<&Options::json, true>},
    {{'\0', "mask", "", "with --check: also write PREFIX-check.png, illegal pixels in magenta"},
     set<&Options::mask, true>},
    {{'\0', "strict", "", "with --check: warnings count as errors for the exit status"},
     set<&Options::strict, true>},
    {{'\0', "repair-colours", "FILE",
      "convert nothing: write the attribute map to FILE with each illegal\n"
      "pixel in the legal colour most common around it; one LEVEL only"},
     take<&Options::repair_colours>},
    {{'h', "help", "", "show this help"}, set<&Options::help, true>},
    {{'\0', "version", "", "show the version"}, set<&Options::version, true>},
};

// The reason the options cannot be used together, or none.
std::string combination_error(const Options& options) {
  if (options.help || options.version) return {};
  if (options.levels.empty()) return "no LEVEL given";
  if (options.repair_colours) {
    if (options.levels.size() > 1) return "--repair-colours takes one LEVEL only";
    if (options.check) return "--repair-colours cannot be used with --check";
    if (options.output || options.depfile) {
      return std::string(options.output ? "--output" : "--depfile") +
             " cannot be used with --repair-colours";
    }
  }
  if ((options.output || options.depfile) && options.levels.size() > 1) {
    return std::string(options.output ? "--output" : "--depfile") + " takes one LEVEL only";
  }
  if (options.output && !options.output->ends_with(".lev")) {
    return "the --output file must end in .lev";
  }
  if (options.check && (options.output || options.depfile)) {
    return std::string(options.output ? "--output" : "--depfile") + " cannot be used with --check";
  }
  if (!options.check && (options.json || options.mask || options.strict)) {
    return "--json, --mask and --strict need --check";
  }
  return {};
}

}  // namespace

ParsedArguments parse_arguments(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  std::vector<std::string> typed;
  const std::optional<OptionError> error =
      parse_options<Options>(kOptions, arguments, parsed.options, typed);
  // Windows' shells leave wildcards to the program.
  for (const std::string& level : typed) {
    for (std::string& name : console::expand_wildcards(level)) {
      parsed.options.levels.push_back(std::move(name));
    }
  }
  parsed.error = error ? error->text : combination_error(parsed.options);
  return parsed;
}

std::string usage() {
  return "usage: zurconv" + usage_of<Options>(kOptions) + " LEVEL...";
}

std::string option_help() {
  return help_of<Options>(kOptions);
}

}  // namespace zur::cli
