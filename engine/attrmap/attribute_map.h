// SPDX-License-Identifier: MIT
// The attribute map: an uncompressed 24-bit TGA whose pixels classify every
// pixel of the level. Its header is checked against the file's length before
// any pixel is read; the pixels are then read a block of rows at a time
// (row_source.h), never held whole.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "engine/level/shared/input_file.h"
#include "engine/level/shared/level_format.h"
#include "engine/level/shared/result.h"

namespace zur {

// The TGA header: 18 bytes, little-endian numbers. An image-ID field and a
// colour map, when the header announces them, lie between it and the pixels.
namespace tga {
inline constexpr std::size_t kHeaderSize = 18;
inline constexpr std::size_t kIdLengthAt = 0;
inline constexpr std::size_t kColourMapTypeAt = 1;
inline constexpr std::size_t kImageTypeAt = 2;
inline constexpr std::size_t kColourMapLengthAt = 5;     // entries
inline constexpr std::size_t kColourMapEntryBitsAt = 7;  // each entry takes whole bytes
inline constexpr std::size_t kWidthAt = 12;
inline constexpr std::size_t kHeightAt = 14;
inline constexpr std::size_t kBitsPerPixelAt = 16;
inline constexpr std::size_t kDescriptorAt = 17;
inline constexpr std::uint32_t kMaxSide = 0xFFFF;  // width and height are 16-bit

inline constexpr std::uint8_t kColourMapIncluded = 1;
inline constexpr std::uint8_t kUncompressedTrueColour = 2;
inline constexpr std::uint8_t kBitsPerPixel = 24;
// Image descriptor: bit 5 set means top row first; any other bit (alpha
// depth, right-to-left order) is refused.
inline constexpr std::uint8_t kDescriptorBottomUp = 0;
inline constexpr std::uint8_t kDescriptorTopDown = 32;
}  // namespace tga

inline constexpr std::size_t kBytesPerPixel = 3;  // blue, green, red

// What the header says about the pixels, once checked against the file.
struct MapHeader {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool bottom_up = false;       // the file stores the bottom row first
  std::uint64_t pixels_at = 0;  // past the header, image-ID field and colour map

  std::size_t row_bytes() const { return static_cast<std::size_t>(width) * kBytesPerPixel; }
  std::uint64_t pixel_count() const { return std::uint64_t(width) * std::uint64_t(height); }
};

// The attribute map's bytes by position, from a file or from memory.
class MapBytes {
 public:
  virtual ~MapBytes() = default;
  virtual std::uint64_t size() const = 0;
  // False when the `count` bytes at `offset` cannot all be read.
  virtual bool read_at(std::uint64_t offset, std::uint8_t* into, std::size_t count) = 0;
};

class MapFile : public MapBytes {
 public:
  // False when the file does not exist or cannot be opened for reading.
  bool open(const std::string& path) { return file_.open(path); }
  std::uint64_t size() const override { return file_.size(); }
  bool read_at(std::uint64_t offset, std::uint8_t* into, std::size_t count) override {
    return file_.read_at(offset, into, count);
  }

 private:
  InputFile file_;
};

// The bytes of a whole TGA file in memory, which must outlive this object.
class MapMemory : public MapBytes {
 public:
  explicit MapMemory(std::span<const std::uint8_t> file) : file_(file) {}
  std::uint64_t size() const override { return file_.size(); }
  bool read_at(std::uint64_t offset, std::uint8_t* into, std::size_t count) override;

 private:
  std::span<const std::uint8_t> file_;
};

// ConversionResult::kSuccess with `header` filled, or the failure's result:
// the header cannot be read (kAttributeMapMissing), not 24 bits per pixel
// (kIllegalBitDepth), or not an uncompressed TGA with a plain row order, or
// too short for the fields and pixels it announces (kWrongTgaFormat). Reads
// the header only: what the pixels take is known from it and the file's size.
ConversionResult read_map_header(MapBytes& map, MapHeader& header);

// Opens the file and reads its header: as above, and kAttributeMapMissing
// when the file cannot be opened.
ConversionResult open_attribute_map(const std::string& path, MapFile& map, MapHeader& header);

// The map's width and height as the GGLEVEL level picture section holds them:
// the TGA header's two size fields as they stand. kAttributeMapMissing when
// the file cannot be read, kWrongTgaFormat when it is too short for them.
using MapSizeSection = std::array<std::uint8_t, level_format::kMapSizeSectionSize>;
ConversionResult read_map_size_section(const std::string& path, MapSizeSection& section);

}  // namespace zur
