// SPDX-License-Identifier: MIT
#include "engine/attrmap/check_mask.h"

namespace zur {
namespace {

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

void CheckPictures::end_row() {
  if (mask_) mask_->end_row();
  if (attributes_) attributes_->end_row();
}

void CheckPictures::row(const std::uint8_t* pixels) {
  if (!wanted()) return;
  classify_row(pixels, width_,
               [&](std::int32_t x, std::int32_t length, const Rgb& colour,
                   const PixelClass& pixel) { run(x, length, colour, pixel); });
  end_row();
}

void CheckPictures::finish() {
  if (mask_) mask_->finish();
  if (attributes_) attributes_->finish();
}

}  // namespace zur
