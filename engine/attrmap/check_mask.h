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
// view; from the runs of the map's rows (row_classifier.h), which the level
// check classifies once for its findings and both pictures.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/attrmap/cell_picture.h"
#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "engine/attrmap/row_classifier.h"
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

// A pixel's colour in the mask.
inline Rgb mask_colour(const Rgb& colour, const PixelClass& pixel) {
  if (pixel.marker != nullptr) return kMarkerKindColours[pixel.marker->kind];
  if (!pixel.legal) return kIllegalMaskColour;
  // Dimmed grey from 64 to 191, so the bright marks stand out.
  const auto grey = static_cast<std::uint8_t>(
      64 + (colour.red * 77 + colour.green * 150 + colour.blue * 29) / 512);
  return {grey, grey, grey};
}

// A pixel's colour in the attributes.
inline Rgb attribute_colour(const Rgb& colour, const PixelClass& pixel) {
  return pixel.legal ? kPalette[pixel.code].colour : colour;
}

// Paints the pictures of a map as its rows come, top first.
class CheckPictures {
 public:
  // A map of width x height, either sink null for a picture not wanted; the
  // sinks must outlive the pictures.
  CheckPictures(RowSink* mask, RowSink* attributes, std::int32_t width, std::int32_t height);

  // False when neither sink takes a picture.
  bool wanted() const { return mask_ || attributes_; }
  // Pixels x to x + length - 1 of the row being painted are `colour`,
  // classified as `pixel`.
  void run(std::int32_t x, std::int32_t length, const Rgb& colour, const PixelClass& pixel);
  // The row, all of whose runs came, is complete: its pixels as row() takes
  // them, where reduced pictures find their cells' top-left pixels. The
  // next run is on the row below it.
  void end_row(const std::uint8_t* pixels);
  // The next row of the map, classified here: width blue, green, red triples.
  void row(const std::uint8_t* pixels);
  // Ends the pictures (an empty map's gives one black pixel).
  void finish();

 private:
  void paint_top_lefts(const std::uint8_t* pixels, CellPicture* mask, CellPicture* attributes);

  std::int32_t width_;
  std::optional<CellPicture> mask_;
  std::optional<CellPicture> attributes_;
};

// Inline, as on a map of short runs it is called for nearly every pixel,
// whether pictures are wanted or not. A reduced picture takes the marked
// runs only: end_row gives its cells their top-left pixels, so that
// painting costs a step per cell rather than per run.
inline void CheckPictures::run(std::int32_t x, std::int32_t length, const Rgb& colour,
                               const PixelClass& pixel) {
  const bool marked = pixel.marker != nullptr || !pixel.legal;
  if (mask_ && (marked || !mask_->reduced())) {
    mask_->run(x, length, mask_colour(colour, pixel), marked);
  }
  if (attributes_ && (marked || !attributes_->reduced())) {
    attributes_->run(x, length, attribute_colour(colour, pixel), marked);
  }
}

}  // namespace zur
