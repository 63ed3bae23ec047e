// SPDX-License-Identifier: MIT
#include "zurlev_options.h"

#include <charconv>
#include <span>

#include "option_table.h"
#include "zur/console.h"
#include "zur/level_file.h"

namespace zur::cli {
namespace {

std::string take_width(LevelOptions& options, std::string text) {
  std::uint32_t width = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), width);
  if (error != std::errc() || end != text.data() + text.size() || width == 0 ||
      width > kMaxMapSide) {
    return "--width needs a number from 1 to 65535, not " + text;
  }
  options.width = width;
  return {};
}

constexpr Option<LevelOptions> kInfoOptions[] = {
    {{'\0', "json", "", "as one JSON document"}, set<&LevelOptions::json, true>},
    {{'\0', "objects", "", "list every object"}, set<&LevelOptions::objects, true>},
};

constexpr Option<LevelOptions> kUnpackOptions[] = {
    {{'o', "", "DIR", "write them into DIR (default: beside the level file)"},
     take<&LevelOptions::directory>},
    {{'\0', "width", "W", "the map's width, where the level file cannot tell it"}, take_width},
    {{'\0', "force", "", "overwrite sources that exist"}, set<&LevelOptions::force, true>},
};

struct Command {
  LevelCommand command;
  std::string_view name;
  std::string_view levels;  // as usage names them
  std::string_view help;
  std::span<const Option<LevelOptions>> options;
};

constexpr Command kCommands[] = {
    {LevelCommand::Info, "info", "LEVEL.lev...",
     "tells what each level file holds: header, settings, pictures, objects and\n"
     "attribute stream, what is wrong with it and what unpacked sources could\n"
     "not rebuild exactly",
     kInfoOptions},
    {LevelCommand::Unpack, "unpack", "LEVEL.lev",
     "writes the sources that rebuild the level file: PREFIX.txt, PREFIX.tga,\n"
     "PREFIX.jpg and PREFIXp.jpg where the level has them",
     kUnpackOptions},
};

const Command* find_command(std::string_view name) {
  for (const Command& command : kCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

// zurlev has no flag letters to group, so an unknown option is named by its
// whole argument; a missing value is not named.
std::string error_text(const OptionError& error) {
  switch (error.kind) {
    case OptionError::Kind::kUnknown:
      return "unknown option " + error.argument;
    case OptionError::Kind::kMissingValue:
      return error.option + " needs a value";
    case OptionError::Kind::kRefused:
      break;
  }
  return error.text;
}

std::string levels_error(const LevelOptions& options) {
  if (options.levels.empty()) return "no LEVEL given";
  if (options.command == LevelCommand::Unpack && options.levels.size() > 1) {
    return "unpack takes one LEVEL";
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
  const std::string& name = arguments[0];
  if (name == "-h" || name == "--help" || name == "help") return parsed;
  if (name == "--version") {
    options.command = LevelCommand::Version;
    return parsed;
  }
  const Command* command = find_command(name);
  if (command == nullptr) {
    parsed.error = "unknown command " + name;
    return parsed;
  }
  options.command = command->command;
  std::vector<std::string> typed;
  const std::optional<OptionError> error =
      parse_options(command->options, std::span(arguments).subspan(1), options, typed);
  // Windows' shells leave wildcards to the program.
  for (const std::string& level : typed) {
    for (std::string& name : console::expand_wildcards(level))
      options.levels.push_back(std::move(name));
  }
  parsed.error = error ? error_text(*error) : levels_error(options);
  return parsed;
}

std::string level_usage() {
  std::string text;
  for (const Command& command : kCommands) {
    text += text.empty() ? "usage: " : "\n       ";
    text += "zurlev " + std::string(command.name) + usage_of(command.options) + " " +
            std::string(command.levels);
  }
  return text;
}

std::string level_command_help() {
  std::size_t width = 0;
  for (const Command& command : kCommands) width = std::max(width, command.name.size() + 2);
  std::string text;
  for (const Command& command : kCommands) {
    text += help_lines(std::string(command.name), command.help, width, "");
    text += help_of(command.options);
  }
  return text;
}

}  // namespace zur::cli
