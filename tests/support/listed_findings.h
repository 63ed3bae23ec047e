// SPDX-License-Identifier: MIT
// A level reader's findings as one text, each on its own line with its byte
// offset: what a failed expectation shows.
#pragma once

#include <string>
#include <vector>

#include "engine/level/level_reader.h"

namespace zur::test {

inline std::string listed(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) text += "\n  " + std::to_string(f.offset) + ": " + f.text;
  return text;
}

}  // namespace zur::test
