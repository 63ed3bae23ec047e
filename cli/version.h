// SPDX-License-Identifier: MIT
// The --version text the commands share, in the usual GNU form: the command,
// the package and the version, then the copyright and the licence.
#pragma once

#include <cstdio>
#include <string>

namespace zur::cli {

void print_version(std::FILE* out, const char* command);

}  // namespace zur::cli
