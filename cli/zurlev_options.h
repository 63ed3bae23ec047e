// SPDX-License-Identifier: MIT
// The zurlev command line: a command (info or unpack), its options and the
// level files it works on. Each command's options are a table (option_table.h);
// usage and help come from the tables.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zur::cli {

enum class LevelCommand { Help, Version, Info, Unpack };

struct LevelOptions {
  LevelCommand command = LevelCommand::Help;
  bool json = false;                   // info
  bool objects = false;                // info
  std::string directory;               // unpack: where the sources go; empty for beside the level
  std::optional<std::uint32_t> width;  // unpack
  bool force = false;                  // unpack
  std::vector<std::string> levels;
};

struct ParsedLevelArguments {
  LevelOptions options;
  std::string error;  // a one-line reason when the arguments are not usable
};

ParsedLevelArguments parse_level_arguments(const std::vector<std::string>& arguments);

// "usage: zurlev info [--json] ...", a line per command.
std::string level_usage();
// Each command with what it does, and its options.
std::string level_command_help();

}  // namespace zur::cli
