// SPDX-License-Identifier: MIT
// The check's mask picture: a PNG of the attribute map's size, top row first,
// in which legal pixels are dimmed to grey, illegal pixels are exactly
// kIllegalMaskColour (no other pixel has that colour) and markers show in one
// colour per kind. Painted row by row into a row sink: a PNG file
// (png_file.h), or a page's view.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "zur/row_sink.h"

namespace zur {

inline constexpr Rgb kIllegalMaskColour = {255, 0, 255};

// The colour a marker shows in, indexed by the object kind it places; none
// is grey or the illegal colour, so the marks stand out.
inline constexpr std::array<Rgb, kMarkerKinds.size()> kMarkerKindColours = {{
    {255, 0, 0},
    {0, 200, 0},
    {0, 96, 255},
    {255, 160, 0},
    {0, 230, 230},
}};

// Paints the mask of a map into a row sink as its rows come, top first.
class CheckMask {
 public:
  // A map of width x height; a PNG has no pictures without pixels, so an
  // empty map gives a 1 x 1 mask. `sink` must outlive the mask.
  CheckMask(RowSink& sink, std::int32_t width, std::int32_t height);

  // The next row of the map: width blue, green, red triples.
  void row(const std::uint8_t* pixels);
  // Gives the rows never fed (an empty map's one pixel) in black and ends
  // the picture; false when the sink could not make it.
  bool finish();

 private:
  RowSink& sink_;
  std::int32_t width_;  // of the map
  std::uint32_t step_;  // the sink keeps every step_-th row; 0 for none
  std::vector<std::uint8_t> row_;
  std::uint32_t rows_left_;
  std::uint32_t rows_given_ = 0;
};

}  // namespace zur
