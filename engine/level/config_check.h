// SPDX-License-Identifier: MIT
// The config file part of a level check: reads the config text line by line
// as a conversion does and lists every keyword line, value and line the
// conversion would skip, cut, store otherwise than written, or never reach.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion/settings.h"
#include "engine/level/config_grammar.h"
#include "engine/level/problem.h"

namespace zur {

// Appends the problems of `text`, the contents of the config file `file`;
// returns the settings a conversion reads from it.
LevelSettings check_level_config(std::string_view text, const std::string& file,
                                 std::vector<Problem>& problems);

// The same for the lines of the config file `file` as they are read.
LevelSettings check_level_config(config_grammar::LineReader& lines, const std::string& file,
                                 std::vector<Problem>& problems);

}  // namespace zur
