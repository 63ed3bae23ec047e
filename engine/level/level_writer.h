// SPDX-License-Identifier: MIT
// The level file writer: reads the config file into the settings record,
// writes the level file header and picture sections, and has the attribute
// map compiler append the rest.
#pragma once

#include <string>

#include "engine/level/shared/conversion.h"
#include "engine/level/shared/result.h"

namespace zur {

struct WriteOutcome {
  ConversionResult result;
  // False when the level file could not be opened: whatever was at its path
  // was not touched.
  bool level_file_opened;
};

// Writes conversion.level_file from the sources named by conversion.prefix,
// listing them in conversion.sources_read. The file is put in place whole
// before the report is shown; on failure the path holds no new level.
WriteOutcome write_level_file(Conversion& conversion);

}  // namespace zur
