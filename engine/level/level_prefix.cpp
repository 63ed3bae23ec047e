// SPDX-License-Identifier: MIT
#include "engine/level/level_prefix.h"

#include "engine/base/ascii.h"
#include "engine/conversion/level_format.h"

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

namespace {

// The config suffix the user wrote at the end of `path`, if any.
std::string named_config_suffix(std::string_view path, std::size_t prefix_length) {
  const std::string_view rest = path.substr(prefix_length);
  return equal_ignoring_case(rest, suffix::kConfig) ? std::string(rest) : std::string();
}

}  // namespace

NamedLevel level_from_argument(std::string_view argument, PathSyntax syntax) {
  std::string prefix = prefix_from_argument(argument, syntax);
  std::string given = named_config_suffix(argument, prefix.size());
  return {std::move(prefix), std::move(given)};
}

NamedLevel level_from_picked_path(std::string_view path, PathSyntax syntax) {
  std::string prefix = prefix_from_picked_path(path, syntax);
  std::string given = named_config_suffix(path, prefix.size());
  return {std::move(prefix), std::move(given)};
}

NamedLevel level_from_argument(std::string_view argument, std::span<const std::string> picked) {
  NamedLevel level = level_from_argument(argument);
  if (!level.config_suffix.empty()) return level;
  for (const std::string& path : picked) {
    NamedLevel named = level_from_picked_path(path);
    if (named.prefix == level.prefix) return named;
  }
  return level;
}

}  // namespace zur
