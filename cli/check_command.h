// SPDX-License-Identifier: MIT
// zurconv --check: checks each level's sources and prints their problems,
// as compiler-style lines or as one JSON document.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "options.h"
#include "zur/check.h"

namespace zur::cli {

// Prints the checks of the options' levels to `out` (mask failures to
// `err`); returns the exit status: 1 when any level has an error (with
// --strict, any problem) or a mask could not be written, else 0.
int run_check(const Options& options, std::FILE* out, std::FILE* err);

}  // namespace zur::cli
