// SPDX-License-Identifier: MIT
#include "cli/zurlev_options.h"

#include <charconv>

#include "engine/attrmap/attribute_map.h"

namespace zur::cli {
namespace {

std::optional<std::uint32_t> parse_width(const std::string& text) {
  std::uint32_t width = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width);
  if (error != std::errc() || end != text.data() + text.size() || width == 0 ||
      width > tga::kMaxSide)
    return std::nullopt;
  return width;
}

// Applies the option at arguments[i], taking its value from the next
// argument where it has one; an error text, empty when it applied.
std::string apply_option(const std::vector<std::string>& arguments, std::size_t& i,
                         LevelOptions& options) {
  const std::string& option = arguments[i];
  const bool info = options.command == LevelCommand::Info;
  if (info && option == "--json") {
    options.json = true;
  } else if (info && option == "--objects") {
    options.objects = true;
  } else if (!info && option == "--force") {
    options.force = true;
  } else if (!info && (option == "-o" || option == "--width")) {
    if (i + 1 == arguments.size()) return option + " needs a value";
    const std::string& value = arguments[++i];
    if (option == "-o") {
      options.directory = value;
    } else if (!(options.width = parse_width(value))) {
      return "--width needs a number from 1 to 65535, not " + value;
    }
  } else {
    return "unknown option " + option;
  }
  return {};
}

}  // namespace

ParsedLevelArguments parse_level_arguments(const std::vector<std::string>& arguments) {
  ParsedLevelArguments parsed;
  LevelOptions& options = parsed.options;
  if (arguments.empty()) {
    parsed.error = "no command given";
    return parsed;
  }
  const std::string& command = arguments[0];
  if (command == "-h" || command == "--help" || command == "help") return parsed;
  if (command == "--version") {
    options.command = LevelCommand::Version;
    return parsed;
  }
  if (command == "info") {
    options.command = LevelCommand::Info;
  } else if (command == "unpack") {
    options.command = LevelCommand::Unpack;
  } else {
    parsed.error = "unknown command " + command;
    return parsed;
  }
  bool options_ended = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (options_ended || argument.size() < 2 || argument[0] != '-') {
      options.levels.push_back(argument);
    } else if (argument == "--") {
      options_ended = true;
    } else if (std::string error = apply_option(arguments, i, options); !error.empty()) {
      parsed.error = std::move(error);
      return parsed;
    }
  }
  if (options.levels.empty()) {
    parsed.error = "no LEVEL given";
  } else if (options.command == LevelCommand::Unpack && options.levels.size() > 1) {
    parsed.error = "unpack takes one LEVEL";
  }
  return parsed;
}

}  // namespace zur::cli
