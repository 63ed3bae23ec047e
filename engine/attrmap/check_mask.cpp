// SPDX-License-Identifier: MIT
#include "engine/attrmap/check_mask.h"

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

Rgb attribute_colour(const Rgb& colour, const PixelClass& pixel) {
  return pixel.legal ? kPalette[pixel.code].colour : colour;
}

void start(std::optional<CellPicture>& picture, RowSink* sink, std::int32_t width,
           std::int32_t height) {
  if (sink != nullptr && !picture.emplace(*sink, width, height).wanted()) picture.reset();
}

}  // namespace

CheckPictures::CheckPictures(RowSink* mask, RowSink* attributes, std::int32_t width,
                             std::int32_t height)
    : width_(width) {
  start(mask_, mask, width, height);
  start(attributes_, attributes, width, height);
}

void CheckPictures::row(const std::uint8_t* pixels) {
  if (!mask_ && !attributes_) return;
  classify_row(pixels, width_,
               [&](std::int32_t x, std::int32_t length, const Rgb& colour, PixelClass pixel) {
                 const bool marked = pixel.marker != nullptr || !pixel.legal;
                 if (mask_) mask_->run(x, length, mask_colour(colour, pixel), marked);
                 if (attributes_) {
                   attributes_->run(x, length, attribute_colour(colour, pixel), marked);
                 }
               });
  if (mask_) mask_->end_row();
  if (attributes_) attributes_->end_row();
}

void CheckPictures::finish() {
  if (mask_) mask_->finish();
  if (attributes_) attributes_->finish();
}

}  // namespace zur
