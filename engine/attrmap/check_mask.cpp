// SPDX-License-Identifier: MIT
#include "engine/attrmap/check_mask.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/png_writer.h"
#include "engine/attrmap/row_classifier.h"
#include "engine/base/output_file.h"

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

// The encoded bytes go into the output file as they come; a failed output
// file tells why, and puts nothing in place.
struct CheckMask::Png {
  explicit Png(platform::System& system) : file(system) {}

  OutputFile file;
  std::uint64_t written = 0;
  PngWriter writer;
  bool failed = false;  // the encoder gave up

  bool take(const std::uint8_t* bytes, std::size_t count) {
    file.write_at(written, bytes, count);
    written += count;
    return !file.failed();
  }
};

CheckMask::CheckMask(platform::System& system) : system_(system) {}

CheckMask::~CheckMask() = default;

std::optional<Error> CheckMask::open(const std::string& path, std::span<const std::string> others,
                                     std::int32_t width, std::int32_t height) {
  path_ = path;
  auto png = std::make_unique<Png>(system_);
  if (std::optional<Error> refused = png->file.open(path, others)) return refused;
  Png& started = *png;
  // A PNG has no pictures without pixels: an empty map gives a 1 x 1 mask.
  const auto columns = static_cast<std::uint32_t>(std::max(width, 1));
  const auto rows = static_cast<std::uint32_t>(std::max(height, 1));
  const ByteSink sink = [&started](const std::uint8_t* bytes, std::size_t count) {
    return started.take(bytes, count);
  };
  if (!started.writer.open(sink, columns, rows)) {
    return started.file.failed() ? started.file.commit() : not_encoded();
  }
  row_.assign(std::size_t(columns) * 3, 0);
  rows_left_ = static_cast<std::int32_t>(rows);
  rows_given_ = 0;
  width_ = width;
  png_ = std::move(png);
  return std::nullopt;
}

void CheckMask::row(const std::uint8_t* pixels) {
  if (!png_ || png_->failed) return;
  // A row the picture does not keep is passed on as it stands.
  if (rows_given_++ % png_->writer.row_step() == 0) {
    classify_row(pixels, width_,
                 [&](std::int32_t x, std::int32_t length, const Rgb& colour, PixelClass pixel) {
                   paint_run(row_.data() + std::size_t(x) * 3, std::size_t(length),
                             mask_colour(colour, pixel));
                 });
  }
  write_row();
}

void CheckMask::write_row() {
  if (rows_left_ == 0) return;
  --rows_left_;
  if (!png_->writer.write_row(row_.data())) png_->failed = true;
}

std::optional<Error> CheckMask::close() {
  if (!png_) return Error{"cannot write", path_, "the mask was not opened", {}, {}};
  // Rows never fed (an empty map's one pixel) are black.
  std::fill(row_.begin(), row_.end(), 0);
  while (rows_left_ > 0 && !png_->failed) write_row();
  if (!png_->failed && !png_->writer.finish()) png_->failed = true;
  // A picture the encoder gave up on is not put in place either.
  std::optional<Error> error =
      png_->file.failed() || !png_->failed ? png_->file.commit() : not_encoded();
  png_.reset();
  return error;
}

Error CheckMask::not_encoded() const {
  return {"cannot write", path_, "the picture could not be encoded", {}, {}};
}

}  // namespace zur
