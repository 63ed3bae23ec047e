// SPDX-License-Identifier: MIT
#include "engine/attrmap/check_mask.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/row_classifier.h"

namespace zur {
namespace {

// Indexed by the marker's object kind; none is grey or the illegal colour.
constexpr std::array<Rgb, kMarkerKinds.size()> kKindColours = {{
    {255, 0, 0},
    {0, 200, 0},
    {0, 96, 255},
    {255, 160, 0},
    {0, 230, 230},
}};

Rgb mask_colour(const Rgb& colour, const PixelClass& pixel) {
  if (pixel.marker != nullptr) return kKindColours[pixel.marker->kind];
  if (!pixel.legal) return kIllegalMaskColour;
  // Dimmed grey from 64 to 191, so the bright marks stand out.
  const auto grey = static_cast<std::uint8_t>(
      64 + (colour.red * 77 + colour.green * 150 + colour.blue * 29) / 512);
  return {grey, grey, grey};
}

}  // namespace

// libpng reports failures by a long jump back into the function that set it.
struct CheckMask::Png {
  std::FILE* file = nullptr;
  png_structp write = nullptr;
  png_infop info = nullptr;
  bool failed = false;

  ~Png() {
    png_destroy_write_struct(&write, &info);
    if (file) std::fclose(file);
  }
};

CheckMask::CheckMask() = default;

CheckMask::~CheckMask() {
  if (png_) close();
}

bool CheckMask::open(const std::string& path, std::int32_t width, std::int32_t height) {
  auto png = std::make_unique<Png>();
  png->file = std::fopen(path.c_str(), "wb");
  if (!png->file) return false;
  path_ = path;
  png->write = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png->write) png->info = png_create_info_struct(png->write);
  if (!png->info || setjmp(png_jmpbuf(png->write))) {
    png_.reset();
    png.reset();
    std::remove(path.c_str());
    return false;
  }
  png_init_io(png->write, png->file);
  // A PNG has no pictures without pixels: an empty map gives a 1 x 1 mask.
  png_set_IHDR(png->write, png->info, std::max(width, 1), std::max(height, 1), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png->write, png->info);
  row_.assign(static_cast<std::size_t>(std::max(width, 1)) * 3, 0);
  rows_left_ = std::max(height, 1);
  width_ = width;
  png_ = std::move(png);
  return true;
}

void CheckMask::row(const std::uint8_t* pixels) {
  if (!png_ || png_->failed) return;
  classify_row(pixels, width_,
               [&](std::int32_t x, std::int32_t length, const Rgb& colour, PixelClass pixel) {
                 const Rgb shown = mask_colour(colour, pixel);
                 for (std::size_t i = std::size_t(x) * 3; i < std::size_t(x + length) * 3; i += 3) {
                   row_[i] = shown.red;
                   row_[i + 1] = shown.green;
                   row_[i + 2] = shown.blue;
                 }
               });
  write_row();
}

void CheckMask::write_row() {
  if (rows_left_ == 0) return;
  --rows_left_;
  if (setjmp(png_jmpbuf(png_->write))) {
    png_->failed = true;
    return;
  }
  png_write_row(png_->write, row_.data());
}

bool CheckMask::close() {
  if (!png_) return false;
  // Rows never fed (an empty map's one pixel) are black.
  std::fill(row_.begin(), row_.end(), 0);
  while (rows_left_ > 0 && !png_->failed) write_row();
  bool written = !png_->failed;
  if (written && !setjmp(png_jmpbuf(png_->write))) {
    png_write_end(png_->write, nullptr);
  } else {
    written = false;
  }
  written = std::fflush(png_->file) == 0 && written;
  png_.reset();
  if (!written) std::remove(path_.c_str());
  return written;
}

}  // namespace zur
