// SPDX-License-Identifier: MIT
// Reads a level config file into the level settings record. The file is a
// list of settings, each a keyword line ("/" and a keyword, any letter case)
// followed by its value line; every other line is a comment. The record must
// be reset by the caller first.
#pragma once

#include <string>
#include <string_view>

#include "engine/level/settings.h"
#include "engine/level/warnings.h"

namespace zur {

enum class ConfigOutcome {
  kComplete,
  // Read, but not exactly one keyword line for each of the 20 counted keywords.
  kIncomplete,
  // The file cannot be opened or read.
  kMissing,
};

// Longest line kept; the rest of a longer line is dropped.
inline constexpr std::size_t kMaxConfigLine = 159;

// Reads the text of a config file. Sets `found` for every keyword and may
// add warnings; never kMissing.
ConfigOutcome parse_level_config(std::string_view text, LevelSettings& settings, FoundFlags& found,
                                 WarningList& warnings);

// The same for the file at `path`.
ConfigOutcome read_level_config(const std::string& path, LevelSettings& settings, FoundFlags& found,
                                WarningList& warnings);

}  // namespace zur
