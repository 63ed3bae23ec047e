// Runs of equal pixels within a row of the attribute map. Maps are mostly
// long runs of one colour, so the passes classify a colour once per run.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/attrmap/attribute_map.h"

namespace zur {

namespace pixel_runs_detail {

// Long runs of equal pixels are found a block of this many pixels at a time.
inline constexpr std::int32_t kRunBlockPixels = 16;

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

}  // namespace pixel_runs_detail

inline const std::uint8_t* pixel_at(const std::uint8_t* row, std::int32_t x) {
  return row + static_cast<std::size_t>(x) * kBytesPerPixel;
}

// One past the last pixel of the run of pixels equal to pixel x.
inline std::int32_t run_end(const std::uint8_t* row, std::int32_t x, std::int32_t width) {
  using namespace pixel_runs_detail;
  std::int32_t end = x + 1;
  if (end == width || !same_as_previous(pixel_at(row, end))) return end;
  while (end + kRunBlockPixels <= width && block_repeats_previous(pixel_at(row, end))) {
    end += kRunBlockPixels;
  }
  while (end < width && same_as_previous(pixel_at(row, end))) ++end;
  return end;
}

}  // namespace zur
