// SPDX-License-Identifier: MIT
#include "engine/level/depfile.h"

#include <algorithm>

namespace zur {

std::string make_escaped(std::string_view path) {
  std::string word;
  std::size_t backslashes = 0;  // directly before the current character
  for (const char c : path) {
    switch (c) {
      case ' ':
      case '\t':
        // Make reads 2N+1 backslashes before a blank as N backslashes and the blank.
        word.append(backslashes + 1, '\\');
        break;
      case '#':
        word += '\\';
        break;
      case '$':
        word += '$';
        break;
    }
    backslashes = c == '\\' ? backslashes + 1 : 0;
    word += c;
  }
  return word;
}

std::optional<std::string> depfile_rule(const std::string& target,
                                        const std::vector<std::string>& prerequisites) {
  const auto has_line_break = [](const std::string& path) {
    return path.find_first_of("\r\n") != std::string::npos;
  };
  if (has_line_break(target) || std::ranges::any_of(prerequisites, has_line_break)) {
    return std::nullopt;
  }
  std::string rule = make_escaped(target) + ":";
  for (const std::string& path : prerequisites) {
    if (&path != &prerequisites.front()) rule += " \\\n";
    rule += ' ';
    rule += make_escaped(path);
  }
  return rule + "\n";
}

}  // namespace zur
