// SPDX-License-Identifier: MIT
// The levels among a set of files, as a page finds them in what was dropped.
#include <algorithm>

#include "engine/base/ascii.h"
#include "engine/conversion/level_format.h"
#include "zur/convert.h"

namespace zur {
namespace {

bool has_suffix(std::string_view name, std::string_view suffix) {
  return name.size() > suffix.size() && ends_with_ignoring_case(name, suffix);
}

// The files ending in `suffix`, without it.
std::vector<std::string> prefixes(std::span<const std::string> files, std::string_view suffix) {
  std::vector<std::string> found;
  for (const std::string& name : files) {
    if (has_suffix(name, suffix)) found.push_back(name.substr(0, name.size() - suffix.size()));
  }
  return found;
}

}  // namespace

std::vector<std::string> config_files(std::span<const std::string> files) {
  std::vector<std::string> configs;
  std::copy_if(files.begin(), files.end(), std::back_inserter(configs),
               [](const std::string& name) { return has_suffix(name, suffix::kConfig); });
  return configs;
}

std::vector<std::string> other_files(std::span<const std::string> files) {
  // The parallax picture's suffix ends in the level picture's.
  constexpr std::string_view kKnown[] = {suffix::kConfig, suffix::kLevelImage,
                                         suffix::kAttributeMap, suffix::kLevelFile};
  std::vector<std::string> others;
  std::copy_if(
      files.begin(), files.end(), std::back_inserter(others), [&](const std::string& name) {
        return std::none_of(std::begin(kKnown), std::end(kKnown),
                            [&](std::string_view known) { return has_suffix(name, known); });
      });
  return others;
}

std::vector<std::string> find_levels(std::span<const std::string> files) {
  std::vector<std::string> levels = prefixes(files, suffix::kConfig);
  const std::vector<std::string> configs = levels;
  for (const std::string& map : prefixes(files, suffix::kAttributeMap)) {
    const bool named = std::any_of(configs.begin(), configs.end(), [&](const std::string& config) {
      return equal_ignoring_case(config, map);
    });
    if (!named) levels.push_back(map);
  }
  std::sort(levels.begin(), levels.end());
  return levels;
}

}  // namespace zur
