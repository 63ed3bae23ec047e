// SPDX-License-Identifier: MIT
// Turns what a user names a level by into its level prefix. A command-line
// argument may be the config file's name; a picked path is a config file.
// Neither rule ever cuts inside a folder name ("levels/v1.2" stays whole),
// nor on Windows inside a drive ("C:") or a share ("\\server\share\").
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "engine/base/path_syntax.h"

namespace zur {

// A level as the user named it: its prefix and, where they named its config
// file (typed "jungle.txt", or picked it), that file's ".txt" as they wrote
// it; the lookup then prefers the sources in that letter case.
struct NamedLevel {
  NamedLevel(std::string level_prefix,
             std::string named_suffix = {})  // NOLINT: a prefix names a level
      : prefix(std::move(level_prefix)), config_suffix(std::move(named_suffix)) {}

  std::string prefix;
  std::string config_suffix;
};

// The argument with a final ".txt" in any letter case dropped; nothing else.
std::string prefix_from_argument(std::string_view argument, PathSyntax syntax = kNativePathSyntax);

// The path with its file name's extension (from the name's last ".") dropped.
std::string prefix_from_picked_path(std::string_view path, PathSyntax syntax = kNativePathSyntax);

// The level of a command-line argument, as prefix_from_argument takes it.
NamedLevel level_from_argument(std::string_view argument, PathSyntax syntax = kNativePathSyntax);

// The level of a picked config file, as prefix_from_picked_path takes it.
NamedLevel level_from_picked_path(std::string_view path, PathSyntax syntax = kNativePathSyntax);

// The level of a command-line argument that names no config file, but whose
// prefix is that of a config file the user picked or dropped: named by it.
NamedLevel level_from_argument(std::string_view argument, std::span<const std::string> picked);

}  // namespace zur
