// SPDX-License-Identifier: MIT
#include "engine/attrmap/check_mask.h"

#include <cstring>

#include "engine/attrmap/tga.h"

namespace zur {
namespace {

void start(std::optional<CellPicture>& picture, RowSink* sink, std::int32_t width,
           std::int32_t height) {
  if (sink != nullptr && !picture.emplace(*sink, width, height).wanted()) picture.reset();
}

// The picture, when it gives its cells their top-left pixels on this row.
CellPicture* taking_top_lefts(std::optional<CellPicture>& picture) {
  return picture && picture->takes_top_lefts() ? &*picture : nullptr;
}

}  // namespace

CheckPictures::CheckPictures(RowSink* mask, RowSink* attributes, std::int32_t width,
                             std::int32_t height)
    : width_(width) {
  start(mask_, mask, width, height);
  start(attributes_, attributes, width, height);
}

void CheckPictures::end_row(const std::uint8_t* pixels) {
  CellPicture* mask = taking_top_lefts(mask_);
  CellPicture* attributes = taking_top_lefts(attributes_);
  // Pictures reduced by different steps have their cells' top-lefts apart.
  if (mask && attributes && mask->step() != attributes->step()) {
    paint_top_lefts(pixels, mask, nullptr);
    paint_top_lefts(pixels, nullptr, attributes);
  } else if (mask || attributes) {
    paint_top_lefts(pixels, mask, attributes);
  }
  if (mask_) mask_->end_row();
  if (attributes_) attributes_->end_row();
}

// Each cell no marked pixel has won shows its top-left pixel, classified
// once for both pictures, and only when unlike the cell before's: on a map
// of long runs most are alike.
void CheckPictures::paint_top_lefts(const std::uint8_t* pixels, CellPicture* mask,
                                    CellPicture* attributes) {
  const std::uint32_t step = (mask ? mask : attributes)->step();
  const std::uint8_t* classified = nullptr;
  Rgb shown_in_mask{}, shown_in_attributes{};
  for (std::uint32_t cell = 0; cell * step < static_cast<std::uint32_t>(width_); ++cell) {
    const bool to_mask = mask && !mask->won(cell);
    const bool to_attributes = attributes && !attributes->won(cell);
    if (!to_mask && !to_attributes) continue;
    const std::uint8_t* pixel = pixels + std::size_t{cell} * step * kBytesPerPixel;
    if (classified == nullptr || std::memcmp(pixel, classified, kBytesPerPixel) != 0) {
      classified = pixel;
      const Rgb colour{pixel[2], pixel[1], pixel[0]};
      const PixelClass pixel_class = classify_pixel(colour);
      shown_in_mask = mask_colour(colour, pixel_class);
      shown_in_attributes = attribute_colour(colour, pixel_class);
    }
    if (to_mask) mask->paint_cell(cell, shown_in_mask);
    if (to_attributes) attributes->paint_cell(cell, shown_in_attributes);
  }
}

void CheckPictures::row(const std::uint8_t* pixels) {
  if (!wanted()) return;
  classify_row(pixels, width_,
               [&](std::int32_t x, std::int32_t length, const Rgb& colour,
                   const PixelClass& pixel) { run(x, length, colour, pixel); });
  end_row(pixels);
}

void CheckPictures::finish() {
  if (mask_) mask_->finish();
  if (attributes_) attributes_->finish();
}

}  // namespace zur
