// SPDX-License-Identifier: MIT
// The attribute map compiler: checks the attribute map's header, reads its
// rows once, block by block, turning its object markers into the object
// section and its colours into the packed attribute stream, both appended to
// the level file, and shows the conversion report. Memory stays bounded
// whatever the map's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/attrmap/row_source.h"
#include "engine/conversion/conversion.h"
#include "engine/conversion/level_file.h"
#include "engine/conversion/result.h"

namespace zur {

// Where the progress bar stands once each step is done.
namespace progress {
inline constexpr int kMapChecked = 40;
inline constexpr int kObjectsPlaced = 70;
inline constexpr int kStreamPacked = 100;

// Where the bar stands during the pass, for the share (0 to 1) of rows done:
// from kMapChecked towards kObjectsPlaced, which only the pass's end sets.
constexpr int during_pass(double rows_done) {
  const int span = kObjectsPlaced - kMapChecked;
  const int step = static_cast<int>(rows_done * span);
  return kMapChecked + (step < 0 ? 0 : step < span ? step : span - 1);
}
}  // namespace progress

// Appends to `out`, which the caller opened, and commits it before the
// report. Moves the progress bar through the steps above;
// ConversionResult::kSuccess once the report has been shown, or the first
// failing stage's result. The map is read `block_bytes` at a time (whole
// rows, at least one), through the conversion's system.
ConversionResult compile_attribute_map(const std::string& map_path, LevelFile& out,
                                       Conversion& conversion,
                                       std::size_t block_bytes = kMapBlockBytes);

// The same for the bytes of a whole TGA file in memory.
ConversionResult compile_attribute_map(std::span<const std::uint8_t> map_file, LevelFile& out,
                                       Conversion& conversion,
                                       std::size_t block_bytes = kMapBlockBytes);

}  // namespace zur
