// SPDX-License-Identifier: MIT
#include "engine/attrmap/check_mask.h"

#include <png.h>

#include <algorithm>
#include <array>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/row_classifier.h"
#include "engine/level/shared/output_file.h"

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

// libpng reports failures by a long jump back into the function that set
// it; its messages are not printed, the failure is the output file's.
struct CheckMask::Png {
  OutputFile file;
  std::uint64_t written = 0;
  png_structp write = nullptr;
  png_infop info = nullptr;
  bool failed = false;

  ~Png() { png_destroy_write_struct(&write, &info); }

  static void write_bytes(png_structp write, png_bytep data, png_size_t count) {
    auto* png = static_cast<Png*>(png_get_io_ptr(write));
    png->file.write_at(png->written, data, count);
    png->written += count;
    if (png->file.failed()) png_error(write, "write failed");
  }
  static void flush(png_structp) {}
  [[noreturn]] static void error(png_structp write, png_const_charp) { png_longjmp(write, 1); }
  static void warning(png_structp, png_const_charp) {}
};

CheckMask::CheckMask() = default;

CheckMask::~CheckMask() = default;

std::optional<Error> CheckMask::open(const std::string& path, std::span<const std::string> others,
                                     std::int32_t width, std::int32_t height) {
  path_ = path;
  auto png = std::make_unique<Png>();
  if (std::optional<Error> refused = png->file.open(path, others)) return refused;
  const Error out_of_memory =
      system_error("cannot write", path, std::make_error_code(std::errc::not_enough_memory));
  png->write = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, &Png::error, &Png::warning);
  if (png->write) png->info = png_create_info_struct(png->write);
  if (!png->info) return out_of_memory;
  if (setjmp(png_jmpbuf(png->write))) {
    // A failed output file tells why, and puts nothing in place.
    return png->file.failed() ? png->file.commit() : out_of_memory;
  }
  png_set_write_fn(png->write, png.get(), &Png::write_bytes, &Png::flush);
  // A PNG has no pictures without pixels: an empty map gives a 1 x 1 mask.
  png_set_IHDR(png->write, png->info, std::max(width, 1), std::max(height, 1), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png->write, png->info);
  row_.assign(static_cast<std::size_t>(std::max(width, 1)) * 3, 0);
  rows_left_ = std::max(height, 1);
  width_ = width;
  png_ = std::move(png);
  return std::nullopt;
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

void CheckMask::write_end() {
  if (setjmp(png_jmpbuf(png_->write))) {
    png_->failed = true;
    return;
  }
  png_write_end(png_->write, nullptr);
}

std::optional<Error> CheckMask::close() {
  if (!png_) return Error{"cannot write", path_, "the mask was not opened", {}, {}};
  // Rows never fed (an empty map's one pixel) are black.
  std::fill(row_.begin(), row_.end(), 0);
  while (rows_left_ > 0 && !png_->failed) write_row();
  if (!png_->failed) write_end();
  // A failed output file tells why, and puts nothing in place; a picture
  // the encoder gave up on is not put in place either.
  std::optional<Error> error =
      png_->file.failed() || !png_->failed
          ? png_->file.commit()
          : Error{"cannot write", path_, "the picture could not be encoded", {}, {}};
  png_.reset();
  return error;
}

}  // namespace zur
