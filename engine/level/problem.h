// SPDX-License-Identifier: MIT
// How the check words its findings: counts, numbers and quoted texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zur/check.h"

namespace zur {

// "1 pixel", "2 pixels": a count and its noun, as the messages give them.
std::string counted(std::uint64_t count, const std::string& noun);
// A count, size or byte offset in a finding's text.
inline std::string number(std::uint64_t value) {
  return std::to_string(value);
}

// A text in double quotes as the messages give it. A zero byte is shown as
// \0, so that no message holds one and every message prints whole.
std::string quoted(std::string_view text);

}  // namespace zur
