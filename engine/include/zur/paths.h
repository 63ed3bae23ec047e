// SPDX-License-Identifier: MIT
// How paths are spelled, for splitting one into its folder and its last name
// without asking the system: on Windows `\` and `/` both separate folders and
// a path may start with a drive ("C:", "C:\") or a share ("\\server\share\");
// elsewhere only `/` separates. Each syntax can be asked for on any system.
// And how what a user names a level by becomes its level prefix: a
// command-line argument may be the config file's name, a picked path is a
// config file; neither rule ever cuts inside a folder name ("levels/v1.2"
// stays whole), nor on Windows inside a drive ("C:") or a share.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zur {

enum class PathSyntax { kPosix, kWindows };

// The syntax of the system the programs run on; the platform seam says.
extern const PathSyntax kNativePathSyntax;

bool is_folder_separator(char c, PathSyntax syntax = kNativePathSyntax);

// The length of the part that starts the path and names no file: the
// leading separators, a drive with its separator, a share with its
// separator (also after the \\?\ and \\.\ prefixes); 0 when there is none.
std::size_t root_length(std::string_view path, PathSyntax syntax = kNativePathSyntax);

// Where the path's last name starts: after its root and its last separator;
// path.size() when it ends in a separator or is a root.
std::size_t name_start(std::string_view path, PathSyntax syntax = kNativePathSyntax);

// The argument with a final ".txt" in any letter case dropped; nothing else.
std::string prefix_from_argument(std::string_view argument, PathSyntax syntax = kNativePathSyntax);

// The path with its file name's extension (from the name's last ".") dropped.
std::string prefix_from_picked_path(std::string_view path, PathSyntax syntax = kNativePathSyntax);

}  // namespace zur
