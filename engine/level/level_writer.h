// SPDX-License-Identifier: MIT
// The level file writer: reads the config file into the settings record,
// writes the level file header and picture sections, and has the attribute
// map compiler append the rest.
#pragma once

#include <string>

#include "engine/conversion/conversion.h"
#include "engine/conversion/result.h"

namespace zur {

// Writes conversion.level_file from the sources named by conversion.prefix,
// reading and writing through conversion.system, listing them in conversion.sources_read, and the
// system's reasons for a failure in conversion.reasons. The file is put in place whole before the
// report is shown. On failure the path holds no level file: an old one is removed, unless the new
// one could not even be opened (then what is there is left alone).
ConversionResult write_level_file(Conversion& conversion);

}  // namespace zur
