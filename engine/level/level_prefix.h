// SPDX-License-Identifier: MIT
// A level as the user named it, for the source lookup: its prefix (as
// zur/paths.h makes it) and the letter case of a config file they named.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "zur/paths.h"

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

// The level of a command-line argument, as prefix_from_argument takes it.
NamedLevel level_from_argument(std::string_view argument, PathSyntax syntax = kNativePathSyntax);

// The level of a picked config file, as prefix_from_picked_path takes it.
NamedLevel level_from_picked_path(std::string_view path, PathSyntax syntax = kNativePathSyntax);

// The level of a command-line argument that names no config file, but whose
// prefix is that of a config file the user picked or dropped: named by it.
NamedLevel level_from_argument(std::string_view argument, std::span<const std::string> picked);

}  // namespace zur
