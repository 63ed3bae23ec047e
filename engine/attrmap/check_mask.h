// SPDX-License-Identifier: MIT
// The pictures a check paints of an attribute map, top row first, each
// reduced as its row sink asks (cell_picture.h), a marker or illegal pixel
// winning its cell in both:
// - the mask: legal pixels dimmed to grey (and only they are grey), illegal
//   pixels exactly kIllegalMaskColour (no other pixel has that colour),
//   markers in one colour per kind;
// - the attributes: every pixel in the palette colour of the code the level
//   gets there (a marker the code it leaves under its object), an illegal
//   pixel in its own colour.
// Painted row by row into row sinks: a PNG file (png_file.h), or a page's
// view; the map's rows are classified once for both.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/attrmap/cell_picture.h"
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

// Paints the pictures of a map as its rows come, top first.
class CheckPictures {
 public:
  // A map of width x height, either sink null for a picture not wanted; the
  // sinks must outlive the pictures.
  CheckPictures(RowSink* mask, RowSink* attributes, std::int32_t width, std::int32_t height);

  // The next row of the map: width blue, green, red triples.
  void row(const std::uint8_t* pixels);
  // Ends the pictures (an empty map's gives one black pixel).
  void finish();

 private:
  std::int32_t width_;
  std::optional<CellPicture> mask_;
  std::optional<CellPicture> attributes_;
};

}  // namespace zur
