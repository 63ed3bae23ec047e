// SPDX-License-Identifier: MIT
// What each pixel of a row stands for: a palette colour's attribute code, an
// object marker (with the code the level gets under the object), or an
// illegal colour. Rows are walked in runs of equal pixels, so a long run is
// classified once; the conversion and any check of a map share this walk.
// Rows of short runs are cheaper classified pixel by pixel without branches.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "engine/base/byte_order.h"

namespace zur {

struct PixelClass {
  std::uint8_t code;         // what the level gets here; air for an illegal colour
  const MarkerKind* marker;  // the marker kind, or null
  bool legal;                // false for a colour that is neither a marker nor in the palette
};

constexpr bool palette_has_no_marker_blue() {
  for (const PaletteEntry& entry : kPalette) {
    if (marker_detail::kKindOfBlue[entry.colour.blue] != marker_detail::kNotAMarker) return false;
  }
  return true;
}
static_assert(palette_has_no_marker_blue(), "a palette colour would read as a marker");

// The palette is looked up first: legal colours are by far the most common.
// By its code rather than classify_colour's optional, which in a loop over
// cells the compiler kept in memory, each lookup stalling on its store.
inline PixelClass classify_pixel(const Rgb& colour) {
  const std::uint8_t code = palette_code(palette_detail::colour_key(colour));
  if (code != kNotInPalette) return {code, nullptr, true};
  if (const MarkerKind* marker = marker_kind(colour.blue)) {
    return {marker->code_under(colour.red), marker, true};
  }
  return {palette::kAir, nullptr, false};
}

namespace row_detail {

// Long runs of equal pixels are found a block of this many pixels at a time.
constexpr std::int32_t kRunBlockPixels = 16;

inline const std::uint8_t* pixel_at(const std::uint8_t* row, std::int32_t x) {
  return row + static_cast<std::size_t>(x) * kBytesPerPixel;
}

inline bool same_as_previous(const std::uint8_t* pixel) {
  return pixel[0] == pixel[-3] && pixel[1] == pixel[-2] && pixel[2] == pixel[-1];
}

// True when each of the block's pixels equals the one before it. Without
// branches, so that the compiler compares the block at once.
inline bool block_repeats_previous(const std::uint8_t* block) {
  const std::uint8_t* previous = block - kBytesPerPixel;
  std::uint8_t difference = 0;
  for (std::size_t i = 0; i < kRunBlockPixels * kBytesPerPixel; ++i) {
    difference |= static_cast<std::uint8_t>(block[i] ^ previous[i]);
  }
  return difference == 0;
}

// One past the last pixel of the run of pixels equal to pixel x.
inline std::int32_t run_end(const std::uint8_t* row, std::int32_t x, std::int32_t width) {
  std::int32_t end = x + 1;
  if (end == width || !same_as_previous(pixel_at(row, end))) return end;
  while (end + kRunBlockPixels <= width && block_repeats_previous(pixel_at(row, end))) {
    end += kRunBlockPixels;
  }
  while (end < width && same_as_previous(pixel_at(row, end))) ++end;
  return end;
}

}  // namespace row_detail

// Calls on_run(x, length, colour, pixel_class) for each run of equal pixels
// of a row of `width` pixels (blue, green, red each), left to right.
template <typename OnRun>
void classify_row(const std::uint8_t* row, std::int32_t width, OnRun&& on_run) {
  using namespace row_detail;
  for (std::int32_t x = 0; x < width;) {
    const std::int32_t end = run_end(row, x, width);
    const std::uint8_t* pixel = pixel_at(row, x);
    const Rgb colour{pixel[2], pixel[1], pixel[0]};
    on_run(x, end - x, colour, classify_pixel(colour));
    x = end;
  }
}

// Writes the attribute code of each of a row's `width` pixels to `codes` and
// counts them in `counts`. False, with nothing counted, when a pixel is not a
// palette colour (a marker or an illegal colour): such a row needs
// classify_row. No branch per pixel, so it costs the same whether the row's
// runs are long or short.
inline bool palette_row_codes(const std::uint8_t* row, std::int32_t width, std::uint8_t* codes,
                              CodeCounts& counts) {
  using row_detail::pixel_at;
  // Four bytes at a time, blue lowest: the key and the next pixel's blue. The
  // last pixel's fourth byte would lie past the row.
  for (std::int32_t x = 0; x + 1 < width; ++x) {
    codes[x] = palette_code(get_le32(pixel_at(row, x)) & 0xFFFFFF);
    ++counts[codes[x]];
  }
  const std::uint8_t* last = pixel_at(row, width - 1);
  codes[width - 1] =
      palette_code(std::uint32_t{last[2]} << 16 | std::uint32_t{last[1]} << 8 | last[0]);
  ++counts[codes[width - 1]];
  // Looked for afterwards, as a test inside the loop above costs more.
  std::uint8_t missing = 0;
  for (std::int32_t x = 0; x < width; ++x) missing |= codes[x] == kNotInPalette;
  if (missing == 0) return true;
  for (std::int32_t x = 0; x < width; ++x) --counts[codes[x]];
  return false;
}

}  // namespace zur
