// Reads a level config file into the level settings record. The file is a
// list of settings, each a keyword line ("/" and a keyword, any letter case)
// followed by its value line; every other line is a comment. The record must
// be reset by the caller first.
#pragma once

#include <string>

#include "engine/level/result.h"
#include "engine/level/settings.h"
#include "engine/level/warnings.h"

namespace zur {

// Returned when the file was read but did not hold exactly one keyword line
// for each of the 20 counted keywords.
inline constexpr ConversionResult kConfigIncomplete = 100;

// Longest line kept; the rest of a longer line is dropped.
inline constexpr std::size_t kMaxConfigLine = 159;

// result::kSuccess, kConfigIncomplete, or result::kConfigFileMissing when the
// file cannot be opened or read. Sets `found` for every keyword and may add
// warnings.
ConversionResult read_level_config(const std::string& path, LevelSettings& settings,
                                   FoundFlags& found, WarningList& warnings);

}  // namespace zur
