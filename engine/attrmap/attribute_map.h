// Reads an attribute map: an uncompressed 24-bit TGA whose pixels classify
// every pixel of the level. The whole file is held in one block; passes read
// and repaint pixels in place. Rows are numbered from the top of the level
// whatever order the file stores them in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/level/result.h"

namespace zur {

inline constexpr std::size_t kTgaHeaderSize = 18;
inline constexpr std::size_t kBytesPerPixel = 3;  // blue, green, red

struct AttributeMap {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool bottom_up = false;                    // the file stores the bottom row first
  std::unique_ptr<std::uint8_t[]> contents;  // the whole file
  std::size_t size = 0;

  // The pixels of row y, 0 being the top row of the level.
  std::uint8_t* row(std::int32_t y) {
    const std::int32_t stored = bottom_up ? height - 1 - y : y;
    return contents.get() + kTgaHeaderSize +
           static_cast<std::size_t>(stored) * static_cast<std::size_t>(width) * kBytesPerPixel;
  }
};

// result::kSuccess with `map` filled, or the failure's result: the file
// cannot be opened or read (kAttributeMapMissing), no memory for it
// (kNotEnoughMemory), not 24 bits per pixel (kIllegalBitDepth), or not an
// uncompressed TGA with a plain row order, or too short for its pixels
// (kWrongTgaFormat).
ConversionResult read_attribute_map(const std::string& path, AttributeMap& map);

}  // namespace zur
