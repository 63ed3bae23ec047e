// SPDX-License-Identifier: MIT
// A fact found in a level file, named in a sentence, with the byte offset it
// was found at, counted from the start of the file (or of the settings
// record, where a caller says so).
#pragma once

#include <cstdint>
#include <string>

namespace zur {

struct Finding {
  std::uint64_t offset;
  std::string text;
};

}  // namespace zur
