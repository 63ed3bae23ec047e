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

// The row sinks a check paints its pictures of the map into (check_mask.h);
// null for a picture not wanted.
struct MapPictureSinks {
  RowSink* mask = nullptr;
  RowSink* attributes = nullptr;
};

// With `mask_file`, writes the mask PREFIX-check.png (instead of painting
// pictures.mask). Reads the sources, and writes the mask, through `system`.
LevelCheck check_level(const NamedLevel& level, bool mask_file, platform::System& system,
                       const MapPictureSinks& pictures = {});

}  // namespace zur
