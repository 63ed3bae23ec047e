#include "cli/options.h"

#include "engine/level/level_prefix.h"

namespace zur::cli {
namespace {

// Applies one option; false when it is unknown.
bool apply_option(const std::string& option, Options& options) {
  if (option == "-y" || option == "--yes") {
    options.illegal_colours = IllegalColourAnswer::Yes;
  } else if (option == "-n" || option == "--no") {
    options.illegal_colours = IllegalColourAnswer::No;
  } else if (option == "-s" || option == "--stats") {
    options.show_statistics = true;
  } else if (option == "-q" || option == "--quiet") {
    options.quiet = true;
  } else if (option == "-h" || option == "--help") {
    options.help = true;
  } else if (option == "--version") {
    options.version = true;
  } else if (option == "--check") {
    options.check = true;
  } else if (option == "--json") {
    options.json = true;
  } else if (option == "--mask") {
    options.mask = true;
  } else if (option == "--strict") {
    options.strict = true;
  } else {
    return false;
  }
  return true;
}

}  // namespace

ParsedArguments parse_arguments(const std::vector<std::string>& arguments) {
  ParsedArguments parsed;
  bool options_ended = false;
  for (const std::string& argument : arguments) {
    if (options_ended || argument.size() < 2 || argument[0] != '-') {
      parsed.options.levels.push_back(argument);
    } else if (argument == "--") {
      options_ended = true;
    } else if (argument[1] == '-') {
      if (!apply_option(argument, parsed.options)) {
        parsed.error = "unknown option " + argument;
        return parsed;
      }
    } else {
      // Short options may be grouped: -ys is -y -s.
      for (std::size_t i = 1; i < argument.size(); ++i) {
        const std::string option = {'-', argument[i]};
        if (!apply_option(option, parsed.options)) {
          parsed.error = "unknown option " + option;
          return parsed;
        }
      }
    }
  }
  const Options& options = parsed.options;
  if (options.levels.empty() && !options.help && !options.version) parsed.error = "no LEVEL given";
  if (!options.check && (options.json || options.mask || options.strict)) {
    parsed.error = "--json, --mask and --strict need --check";
  }
  return parsed;
}

std::string batch_text(const std::vector<std::string>& levels) {
  std::string text;
  for (const std::string& level : levels) {
    if (&level != &levels.front()) text += " | ";
    text += prefix_from_argument(level);
  }
  return text;
}

}  // namespace zur::cli
