// SPDX-License-Identifier: MIT
// The zurconv command line: options that decide how questions are answered,
// what is printed and where the level file and its depfile go, and the
// levels to convert. The options are one table; usage and help come from it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zur::cli {

enum class IllegalColourAnswer { Ask, Yes, No };

struct Options {
  IllegalColourAnswer illegal_colours = IllegalColourAnswer::Ask;
  bool show_statistics = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
  std::optional<std::string> output;   // the level file's path, for one level
  std::optional<std::string> depfile;  // where to write the Make depfile, for one level
  // Check mode: list the problems of each level's sources, convert nothing.
  bool check = false;
  bool json = false;
  bool mask = false;
  bool strict = false;
  // Repair mode: write the level's attribute map here with its illegal
  // colours repaired, convert nothing.
  std::optional<std::string> repair_colours;
  std::vector<std::string> levels;  // as typed
};

struct ParsedArguments {
  Options options;
  std::string error;  // a one-line reason when the arguments are not usable
};

ParsedArguments parse_arguments(const std::vector<std::string>& arguments);

// "usage: zurconv [-y|--yes] ... LEVEL..."
std::string usage();
// One line per option with what it does.
std::string option_help();

}  // namespace zur::cli
