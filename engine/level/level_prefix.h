// SPDX-License-Identifier: MIT
// Turns what a user names a level by into its level prefix. A command-line
// argument may be the config file's name; a picked path is a config file.
// Neither rule ever cuts inside a folder name ("levels/v1.2" stays whole),
// nor on Windows inside a drive ("C:") or a share ("\\server\share\").
#pragma once

#include <string>
#include <string_view>

#include "engine/level/shared/path_syntax.h"

namespace zur {

// The argument with a final ".txt" in any letter case dropped; nothing else.
std::string prefix_from_argument(std::string_view argument, PathSyntax syntax = kNativePathSyntax);

// The path with its file name's extension (from the name's last ".") dropped.
std::string prefix_from_picked_path(std::string_view path, PathSyntax syntax = kNativePathSyntax);

}  // namespace zur
