// SPDX-License-Identifier: MIT
#include "standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zur::cli {

bool standard_output_written(const char* program, int error) {
  if (std::fflush(stdout) != 0 && error == 0) error = errno;
  if (error == 0 && !std::ferror(stdout)) return true;
  std::fprintf(stderr, "%s: cannot write standard output%s%s\n", program, error != 0 ? ": " : "",
               error != 0 ? std::strerror(error) : "");
  return false;
}

}  // namespace zur::cli
