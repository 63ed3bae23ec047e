// SPDX-License-Identifier: MIT
// The attribute map part of a level check: a visitor fed the runs of the
// map's rows (row_classifier.h), top row first, that finds what a conversion
// would silently change or stop at: illegal colours (with the nearest legal
// one), markers past the object limit and blocks of touching markers; and
// lists the objects it would store and counts the pixels by the code the
// level gets. Memory stays bounded whatever the map.
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
#include "engine/attrmap/row_classifier.h"
#include "zur/check.h"

namespace zur {

// The legal colour nearest to `colour` (least squared distance in RGB; on a
// tie the lower code).
std::uint8_t nearest_palette_code(const Rgb& colour);

class MapChecker {
 public:
  // Pixels x to x + length - 1 of the row being checked are `colour`,
  // classified as `pixel`.
  void run(std::int32_t x, std::int32_t length, const Rgb& colour, const PixelClass& pixel);
  // The row is complete; the next run is on the row below it.
  void end_row();
  MapCheckFindings finish();

 private:
  // A run of `pixels` markers of one colour from x on, placed as the
  // conversion places them and kept for the touching-block finder.
  void place(const MarkerKind& marker, const Rgb& colour, std::int32_t x, std::int32_t pixels);
  // A run of `pixels` illegal pixels from x on.
  void count_illegal(const Rgb& colour, std::int32_t x, std::int32_t pixels);

  std::int32_t y_ = 0;  // the row being checked, 0 the top row
  MapCheckFindings findings_;
  ObjectTable objects_;                 // as the conversion fills it
  std::vector<RowMarker> row_markers_;  // of the row being checked
  MarkerBlocks blocks_;
  // One bit per 24-bit colour: 2 MiB, allocated at the first illegal pixel.
  std::vector<std::uint64_t> seen_colours_;
  std::unordered_map<std::uint32_t, std::size_t> listed_;  // colour key -> index
};

// Inline, as on a map of short runs it is called for nearly every pixel;
// markers and illegal colours are rare.
inline void MapChecker::run(std::int32_t x, std::int32_t length, const Rgb& colour,
                            const PixelClass& pixel) {
  if (pixel.legal) findings_.codes[pixel.code] += static_cast<std::uint64_t>(length);
  if (pixel.marker != nullptr) {
    place(*pixel.marker, colour, x, length);
  } else if (!pixel.legal) {
    count_illegal(colour, x, length);
  }
}

}  // namespace zur
