// SPDX-License-Identifier: MIT
#include "version.h"

#include "zur/version.h"

namespace zur::cli {

void print_version(std::FILE* out, const char* command) {
  std::fprintf(out,
               "%s (ZUR level converter) %s\n"
               "Copyright (c) 2026 The ZUR level converter developers\n"
               "License MIT: <https://opensource.org/licenses/MIT>.\n"
               "This is free software: you are free to change and redistribute it.\n"
               "There is NO WARRANTY, to the extent permitted by law.\n",
               command, std::string(zur::version()).c_str());
}

}  // namespace zur::cli
