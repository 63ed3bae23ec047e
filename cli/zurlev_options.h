// SPDX-License-Identifier: MIT
// The zurlev command line: a command (info or unpack), its options and the
// level files it works on.
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

inline constexpr const char* kLevelUsage =
    "usage: zurlev info [--json] [--objects] LEVEL.lev...\n"
    "       zurlev unpack [-o DIR] [--width W] [--force] LEVEL.lev";

struct ParsedLevelArguments {
  LevelOptions options;
  std::string error;  // a one-line reason when the arguments are not usable
};

ParsedLevelArguments parse_level_arguments(const std::vector<std::string>& arguments);

}  // namespace zur::cli
