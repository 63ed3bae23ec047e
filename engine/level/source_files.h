// SPDX-License-Identifier: MIT
// Finds a level's source files. A name is the level prefix plus a source's
// suffix (source_table.h); on a case-sensitive file system a file whose name
// differs from that only in ASCII letter case is found too.
#pragma once

#include <string>
#include <string_view>

#include "engine/level/shared/source_table.h"

namespace zur {

// prefix + suffix when that exists; otherwise the first name in byte order in
// the prefix's directory that equals the prefix's last component plus the
// suffix ignoring case; otherwise prefix + suffix, which then fails to open.
std::string find_source(const std::string& prefix, std::string_view suffix);

// Each source of the level as find_source finds it, in table order.
SourcePaths find_sources(const std::string& prefix);

}  // namespace zur
