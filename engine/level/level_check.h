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
#include "zur/check.h"

namespace zur {

inline constexpr const char* kMaskSuffix = "-check.png";

// With `mask_file`, writes the mask PREFIX-check.png; with `mask_rows`,
// paints the mask into it. Reads the sources, and writes the mask, through
// `system`.
LevelCheck check_level(const NamedLevel& level, bool mask_file, platform::System& system,
                       RowSink* mask_rows = nullptr);

}  // namespace zur
