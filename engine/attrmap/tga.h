// SPDX-License-Identifier: MIT
// The TGA format as attribute maps use it: the 18-byte header's fields, the
// checks a header must pass before any pixel is trusted, and a writer of an
// uncompressed 24-bit picture stored bottom row first. Numbers are
// little-endian; rows hold their pixels left to right, nothing between rows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/attrmap/palette.h"

namespace zur {

inline constexpr std::size_t kBytesPerPixel = 3;  // blue, green, red

namespace tga {

// The header's fields. An image-ID field and a colour map, when the header
// announces them, lie between it and the pixels.
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
inline constexpr std::uint32_t kMaxSide = kMaxMapSide;  // width and height are 16-bit

inline constexpr std::uint8_t kColourMapIncluded = 1;
inline constexpr std::uint8_t kUncompressedTrueColour = 2;
inline constexpr std::uint8_t kBitsPerPixel = 24;
// Image descriptor: bit 5 set means top row first; any other bit (alpha
// depth, right-to-left order) is refused.
inline constexpr std::uint8_t kDescriptorBottomUp = 0;
inline constexpr std::uint8_t kDescriptorTopDown = 32;
inline constexpr std::uint8_t kDescriptorRightToLeft = 16;

// What the header says about the pixels, once checked against the file.
struct Header {
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool bottom_up = false;       // the file stores the bottom row first
  std::uint64_t pixels_at = 0;  // past the header, image-ID field and colour map
  // What lies between the header and the pixels, which a reader skips.
  std::uint8_t id_length = 0;        // bytes of the image-ID field
  std::uint8_t colour_map_type = 0;  // kColourMapIncluded, or 0 for none
  std::uint16_t colour_map_entries = 0;
  std::uint8_t colour_map_entry_bits = 0;

  std::size_t row_bytes() const { return static_cast<std::size_t>(width) * kBytesPerPixel; }
  std::uint64_t pixel_count() const { return std::uint64_t(width) * std::uint64_t(height); }
};

// The first check a header fails, in the order they run.
enum class Fault {
  kNone,
  kImageType,     // not 2, uncompressed true-colour
  kBitsPerPixel,  // not 24
  kDescriptor,    // neither 0 nor 32
  kTooShort,      // the file ends within the header or the pixels it announces
};

// Checks `start`, the file's first kHeaderSize bytes (all a shorter file
// has), for a file of `file_size` bytes; `header` is filled when it passes.
// The fields a short file holds are checked before its length.
Fault parse_header(std::span<const std::uint8_t> start, std::uint64_t file_size, Header& header);

// Why a header with `fault` is refused, naming the field: "image type 10, not
// 2 (uncompressed true-colour)". `start` as given to parse_header.
std::string fault_text(Fault fault, std::span<const std::uint8_t> start);

// What a paint program did to write a header with `fault`, and how to save
// the map so that it passes: "RLE-compressed; save it without RLE
// compression". Empty for a fault no paint program's save option explains.
// `start` as given to parse_header.
std::string fault_remedy(Fault fault, std::span<const std::uint8_t> start);

// The width and height fields as they stand, little-endian, read from
// `start` as given to parse_header; false when it ends before them.
using SizeFields = std::array<std::uint8_t, 4>;
bool size_fields(std::span<const std::uint8_t> start, SizeFields& fields);

// The header of an uncompressed 24-bit picture with neither an image-ID
// field nor a colour map.
std::array<std::uint8_t, kHeaderSize> header_bytes(std::uint16_t width, std::uint16_t height,
                                                   bool bottom_up);

// Takes the bytes that belong at `offset` of the file; false when they could
// not be written.
using Sink = std::function<bool(std::uint64_t offset, std::span<const std::uint8_t> bytes)>;

// One pixel drawn over the painted ones; row 0 is the top row.
struct Pixel {
  std::uint32_t x, y;
  Rgb colour;
};

// Writes an uncompressed 24-bit picture stored bottom row first, as most
// paint programs write their files, while it is painted top row first, in
// runs of one colour from left to right. Rows are gathered in blocks, and
// each block goes where the file keeps its rows, so memory stays small
// whatever the picture's size. Calls: write_header(), paint() until
// width × height pixels are painted, finish(); a false from any of them, a
// failed write, ends the writing.
class BottomUpWriter {
 public:
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

  // `overlay`, sorted by row, is drawn over each block before it is written;
  // of two pixels on one place the later wins. A block holds as many whole
  // rows as fit in `block_bytes`, and at least one.
  BottomUpWriter(Sink sink, std::uint16_t width, std::uint16_t height,
                 std::vector<Pixel> overlay = {}, std::size_t block_bytes = kBlockBytes);

  bool write_header();
  bool paint(Rgb colour, std::uint32_t length);
  // Writes the last block.
  bool finish();

 private:
  bool next_row();
  bool write_block();
  std::uint8_t* block_pixel(std::uint32_t x, std::uint32_t y);

  Sink sink_;
  const std::uint32_t width_, height_;
  const std::size_t row_bytes_;
  const std::size_t block_rows_;
  std::unique_ptr<std::uint8_t[]> block_;
  std::vector<Pixel> overlay_;
  std::size_t next_overlay_ = 0;
  std::uint32_t block_top_ = 0;
  std::size_t rows_in_block_ = 0;
  std::uint32_t y_ = std::uint32_t(-1);
  std::uint32_t x_;
  std::uint8_t* row_ = nullptr;
};

}  // namespace tga
}  // namespace zur
