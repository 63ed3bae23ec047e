// Reads an attribute map: an uncompressed 24-bit TGA whose pixels classify
// every pixel of the level. The whole file is held in one block; passes read
// and repaint pixels in place. Rows are numbered from the top of the level
// whatever order the file stores them in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/level/level_format.h"
#include "engine/level/result.h"

namespace zur {

// The TGA header: 18 bytes, little-endian numbers.
namespace tga {
inline constexpr std::size_t kHeaderSize = 18;
inline constexpr std::size_t kImageTypeAt = 2;
inline constexpr std::size_t kWidthAt = 12;
inline constexpr std::size_t kHeightAt = 14;
inline constexpr std::size_t kBitsPerPixelAt = 16;
inline constexpr std::size_t kDescriptorAt = 17;
}  // namespace tga

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
    return contents.get() + tga::kHeaderSize +
           static_cast<std::size_t>(stored) * static_cast<std::size_t>(width) * kBytesPerPixel;
  }
};

// result::kSuccess with `map` filled, or the failure's result: the file
// cannot be opened or read (kAttributeMapMissing), no memory for it
// (kNotEnoughMemory), not 24 bits per pixel (kIllegalBitDepth), or not an
// uncompressed TGA with a plain row order, or too short for its pixels
// (kWrongTgaFormat).
ConversionResult read_attribute_map(const std::string& path, AttributeMap& map);

// The same for the bytes of a whole TGA file, which `map` copies.
ConversionResult parse_attribute_map(std::span<const std::uint8_t> file, AttributeMap& map);

// The map's width and height as the GGLEVEL level picture section holds them:
// the TGA header's two size fields as they stand. kAttributeMapMissing when
// the file cannot be read, kWrongTgaFormat when it is too short for them.
using MapSizeSection = std::array<std::uint8_t, level_format::kMapSizeSectionSize>;
ConversionResult read_map_size_section(const std::string& path, MapSizeSection& section);

}  // namespace zur
