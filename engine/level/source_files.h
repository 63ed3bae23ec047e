// SPDX-License-Identifier: MIT
// Finds a level's source files. A name is the level prefix plus a suffix
// (".TXT", ".JPG", "P.JPG", ".TGA"); on a case-sensitive file system a file
// whose name differs from that only in ASCII letter case is found too.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/level/shared/level_format.h"

namespace zur {

// prefix + suffix when that exists; otherwise the first name in byte order in
// the prefix's directory that equals the prefix's last component plus the
// suffix ignoring case; otherwise prefix + suffix, which then fails to open.
std::string find_source(const std::string& prefix, std::string_view suffix);

// Each source of the level as find_source finds it: config file, level
// picture, parallax picture, attribute map.
std::array<std::string, 4> find_sources(const std::string& prefix);

}  // namespace zur
