// SPDX-License-Identifier: MIT
// The attribute map part of a level check: a visitor fed the map's rows top
// first that finds what a conversion would silently change or stop at:
// illegal colours (with the nearest legal one), markers past the object limit
// and blocks of touching markers; and lists the objects it would store and
// counts the pixels by the code the level gets.
// Memory stays bounded whatever the map.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/attrmap/map_objects.h"
#include "engine/attrmap/marker_blocks.h"
#include "engine/attrmap/palette.h"
#include "zur/check.h"

namespace zur {

// The legal colour nearest to `colour` (least squared distance in RGB; on a
// tie the lower code).
std::uint8_t nearest_palette_code(const Rgb& colour);

class MapChecker {
 public:
  explicit MapChecker(std::int32_t width);

  // Row y, 0 being the top row; `pixels` holds width blue, green, red triples.
  void row(std::int32_t y, const std::uint8_t* pixels);
  MapCheckFindings finish();

 private:
  // A run of `pixels` markers of one colour from x on, placed as the
  // conversion places them.
  void place(const MarkerKind& marker, const Rgb& colour, std::int32_t x, std::int32_t y,
             std::int32_t pixels);
  // A run of `pixels` illegal pixels from x on.
  void count_illegal(const Rgb& colour, std::int32_t x, std::int32_t y, std::int32_t pixels);

  std::int32_t width_;
  MapCheckFindings findings_;
  ObjectTable objects_;                 // as the conversion fills it
  std::vector<RowMarker> row_markers_;  // of the row being checked
  MarkerBlocks blocks_;
  // One bit per 24-bit colour: 2 MiB, allocated at the first illegal pixel.
  std::vector<std::uint64_t> seen_colours_;
  std::unordered_map<std::uint32_t, std::size_t> listed_;  // colour key -> index
};

}  // namespace zur
