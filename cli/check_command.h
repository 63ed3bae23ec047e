// SPDX-License-Identifier: MIT
// zurconv --check: checks each level's sources and prints their problems,
// as compiler-style lines or as one JSON document.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cli/options.h"
#include "engine/level/front_end.h"

namespace zur::cli {

// Prints the checks of the options' levels to `out` (mask failures to
// `err`); returns the exit status: 1 when any level has an error (with
// --strict, any problem) or a mask could not be written, else 0.
int run_check(const Options& options, std::FILE* out, std::FILE* err);

// One line per problem, "FILE[:LINE]: SEVERITY: MESSAGE [CODE]", then
// "LEVEL: N errors, M warnings"; `quiet` keeps only the error lines.
std::string check_text(const LevelCheck& check, bool quiet);

// The document {"levels": [...]}; bytes that are not UTF-8 become U+FFFD.
std::string check_json(const std::vector<LevelCheck>& checks, bool strict);

}  // namespace zur::cli
