// SPDX-License-Identifier: MIT
#include "engine/level/level_prefix.h"

#include "engine/level/shared/ascii.h"
#include "engine/level/shared/level_format.h"

namespace zur {

std::string prefix_from_argument(std::string_view argument, PathSyntax syntax) {
  constexpr std::string_view kConfigEnding = suffix::kConfig;
  if (ends_with_ignoring_case(argument, kConfigEnding) &&
      argument.size() - kConfigEnding.size() >= name_start(argument, syntax)) {
    argument.remove_suffix(kConfigEnding.size());
  }
  return std::string(argument);
}

std::string prefix_from_picked_path(std::string_view path, PathSyntax syntax) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || dot < name_start(path, syntax)) return std::string(path);
  return std::string(path.substr(0, dot));
}

}  // namespace zur
