// The zurconv command line: options that decide how questions are answered
// and what is printed, and the levels to convert.
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
  // Check mode: list the problems of each level's sources, convert nothing.
  bool check = false;
  bool json = false;
  bool mask = false;
  bool strict = false;
  std::vector<std::string> levels;
};

inline constexpr const char* kUsage =
    "usage: zurconv [-y|--yes] [-n|--no] [-s|--stats] [-q|--quiet] [-h|--help] [--version] "
    "[--check [--json] [--mask] [--strict]] LEVEL...";

struct ParsedArguments {
  Options options;
  std::string error;  // a one-line reason when the arguments are not usable
};

ParsedArguments parse_arguments(const std::vector<std::string>& arguments);

// The batch text: the levels joined with " | ", a final ".txt" in any letter
// case dropped from each, so that config file names can be given.
std::string batch_text(const std::vector<std::string>& levels);

}  // namespace zur::cli
