// The attribute map compiler: reads the attribute map, turns its object
// markers into the object section and its colours into the packed attribute
// stream, both appended to the level file, and shows the conversion report.
#pragma once

#include <string>

#include "engine/level/conversion.h"
#include "engine/level/level_file.h"
#include "engine/level/result.h"

namespace zur {

// Where the progress bar stands once each step is done.
namespace progress {
inline constexpr int kMapChecked = 40;
inline constexpr int kObjectsPlaced = 70;
inline constexpr int kStreamPacked = 100;
}  // namespace progress

// Appends to `out`, which the caller opened, and commits it before the
// report. Moves the progress bar through the steps above as the passes go;
// ConversionResult::kSuccess once the report has been shown, or the first
// failing stage's result.
ConversionResult compile_attribute_map(const std::string& map_path, LevelFile& out,
                                       Conversion& conversion);

}  // namespace zur
