// SPDX-License-Identifier: MIT
#include "engine/attrmap/check_mask.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/row_classifier.h"

namespace zur {
namespace {

Rgb mask_colour(const Rgb& colour, const PixelClass& pixel) {
  if (pixel.marker != nullptr) return kMarkerKindColours[pixel.marker->kind];
  if (!pixel.legal) return kIllegalMaskColour;
  // Dimmed grey from 64 to 191, so the bright marks stand out.
  const auto grey = static_cast<std::uint8_t>(
      64 + (colour.red * 77 + colour.green * 150 + colour.blue * 29) / 512);
  return {grey, grey, grey};
}

// Paints `pixels` pixels from `at` in `colour`: the first pixel, then what is
// painted copied onto the rest, twice as much each time, so that a long run
// costs a few block copies rather than a store per byte.
void paint_run(std::uint8_t* at, std::size_t pixels, const Rgb& colour) {
  at[0] = colour.red;
  at[1] = colour.green;
  at[2] = colour.blue;
  const std::size_t bytes = pixels * 3;
  for (std::size_t painted = 3; painted < bytes; painted *= 2) {
    std::memcpy(at + painted, at, std::min(painted, bytes - painted));
  }
}

}  // namespace

CheckMask::CheckMask(RowSink& sink, std::int32_t width, std::int32_t height)
    : sink_(sink),
      width_(width),
      step_(sink.start(static_cast<std::uint32_t>(std::max(width, 1)),
                       static_cast<std::uint32_t>(std::max(height, 1)))),
      row_(std::size_t(std::max(width, 1)) * 3, 0),
      rows_left_(static_cast<std::uint32_t>(std::max(height, 1))) {}

void CheckMask::row(const std::uint8_t* pixels) {
  if (step_ == 0 || rows_left_ == 0) return;
  // A row the sink does not keep is passed on as it stands.
  if (rows_given_++ % step_ == 0) {
    classify_row(pixels, width_,
                 [&](std::int32_t x, std::int32_t length, const Rgb& colour, PixelClass pixel) {
                   paint_run(row_.data() + std::size_t(x) * 3, std::size_t(length),
                             mask_colour(colour, pixel));
                 });
  }
  sink_.row(row_.data());
  --rows_left_;
}

bool CheckMask::finish() {
  if (step_ == 0) return false;
  std::fill(row_.begin(), row_.end(), 0);
  for (; rows_left_ > 0; --rows_left_) sink_.row(row_.data());
  return sink_.finish();
}

}  // namespace zur
