// SPDX-License-Identifier: MIT
// Make depfiles in the form GCC's -MD writes and Make, Ninja and CMake read:
// one rule whose target is the level file and whose prerequisites are the
// sources it was made from, so a build system reconverts only what changed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zur {

// The path as a word of a Make rule: blanks and "#" escaped with "\", "$"
// doubled, backslashes before a blank doubled.
std::string make_escaped(std::string_view path);

// "target: prerequisite \" with one prerequisite per continued line; nothing
// when a path holds a line break, which Make cannot express.
std::optional<std::string> depfile_rule(const std::string& target,
                                        const std::vector<std::string>& prerequisites);

}  // namespace zur
