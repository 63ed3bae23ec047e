// SPDX-License-Identifier: MIT
// Checks a level's sources without converting: reads them as a conversion
// would, through the same source lookup, asks nothing, never opens the level
// file, and lists every problem with its place. Optionally writes the mask
// picture PREFIX-check.png beside the sources.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/attrmap/map_check.h"
#include "engine/base/error.h"
#include "engine/base/platform.h"
#include "engine/level/level_prefix.h"
#include "engine/level/problem.h"

namespace zur {

inline constexpr const char* kMaskSuffix = "-check.png";

struct MapFormat {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool top_down = false;  // the file stores the top row first
};

struct LevelCheck {
  std::string level;  // the level prefix
  std::vector<Problem> problems;
  std::optional<MapFormat> map;              // when its header could be read
  std::optional<MapCheckFindings> findings;  // when its pixels could be read
  std::string mask;                          // the mask's path when one was asked for
  std::optional<Error> mask_error;           // why it was not written
};

// Reads the sources, and writes the mask, through `system`.
LevelCheck check_level(const NamedLevel& level, bool write_mask,
                       platform::System& system = platform::default_system());

// True when a problem counts against the level (an error, or with `strict`
// any problem), or the mask asked for was not written.
bool has_failure(const LevelCheck& check, bool strict);

}  // namespace zur
