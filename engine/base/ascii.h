// SPDX-License-Identifier: MIT
// ASCII letter case, the only case the formats know: keywords, yes/no
// values and source file names compare without regard to it. Bytes outside
// A-Z and a-z are never folded, whatever the locale.
#pragma once

#include <string_view>

namespace zur {

constexpr char ascii_upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char ascii_lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_upper(a[i]) != ascii_upper(b[i])) return false;
  }
  return true;
}

constexpr bool starts_with_ignoring_case(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && equal_ignoring_case(text.substr(0, start.size()), start);
}

constexpr bool ends_with_ignoring_case(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         equal_ignoring_case(text.substr(text.size() - end.size()), end);
}

}  // namespace zur
