// SPDX-License-Identifier: MIT
#include "engine/attrmap/tga.h"

#include <algorithm>
#include <utility>

#include "engine/base/byte_order.h"

namespace zur::tga {
namespace {

// Where the pixel data starts: after the header, the image-ID field and,
// when one is included, the colour map.
std::uint64_t pixel_data_offset(std::span<const std::uint8_t, kHeaderSize> header) {
  std::uint64_t offset = kHeaderSize + header[kIdLengthAt];
  if (header[kColourMapTypeAt] == kColourMapIncluded) {
    const std::uint64_t entry_bytes = (header[kColourMapEntryBitsAt] + 7u) / 8u;
    offset += get_le16(&header[kColourMapLengthAt]) * entry_bytes;
  }
  return offset;
}

// The image types paint programs write besides uncompressed true colour.
struct ForeignType {
  std::uint8_t type;
  const char* remedy;
};
constexpr ForeignType kForeignTypes[] = {
    {1, "colour-mapped; save it as true colour"},
    {3, "grey; save it as true colour"},
    {9, "colour-mapped and RLE-compressed; save it as true colour without RLE compression"},
    {10, "RLE-compressed; save it without RLE compression"},
    {11, "grey and RLE-compressed; save it as true colour without RLE compression"},
};

constexpr const char* kAs24Bits = "; save it as 24 bits without alpha";

void put_pixel(std::uint8_t* pixel, Rgb colour) {
  pixel[0] = colour.blue;
  pixel[1] = colour.green;
  pixel[2] = colour.red;
}

}  // namespace

Fault parse_header(std::span<const std::uint8_t> start, std::uint64_t file_size, Header& header) {
  const std::size_t size = start.size();
  if (size > kImageTypeAt && start[kImageTypeAt] != kUncompressedTrueColour) {
    return Fault::kImageType;
  }
  if (size > kBitsPerPixelAt && start[kBitsPerPixelAt] != kBitsPerPixel) {
    return Fault::kBitsPerPixel;
  }
  if (size > kDescriptorAt && start[kDescriptorAt] != kDescriptorBottomUp &&
      start[kDescriptorAt] != kDescriptorTopDown) {
    return Fault::kDescriptor;
  }
  if (size < kHeaderSize) return Fault::kTooShort;
  header.width = get_le16(&start[kWidthAt]);
  header.height = get_le16(&start[kHeightAt]);
  header.bottom_up = start[kDescriptorAt] == kDescriptorBottomUp;
  header.pixels_at = pixel_data_offset(start.first<kHeaderSize>());
  header.id_length = start[kIdLengthAt];
  header.colour_map_type = start[kColourMapTypeAt];
  header.colour_map_entries = get_le16(&start[kColourMapLengthAt]);
  header.colour_map_entry_bits = start[kColourMapEntryBitsAt];
  if (file_size < header.pixels_at ||
      file_size - header.pixels_at < header.pixel_count() * kBytesPerPixel) {
    return Fault::kTooShort;
  }
  return Fault::kNone;
}

std::string fault_text(Fault fault, std::span<const std::uint8_t> start) {
  switch (fault) {
    case Fault::kNone:
      break;
    case Fault::kImageType:
      return "image type " + std::to_string(start[kImageTypeAt]) +
             ", not 2 (uncompressed true-colour)";
    case Fault::kBitsPerPixel:
      return "not 24 bits per pixel";
    case Fault::kDescriptor:
      return "image descriptor " + std::to_string(start[kDescriptorAt]) +
             ", neither 0 (bottom row first) nor 32 (top row first)";
    case Fault::kTooShort:
      if (start.size() < kHeaderSize) return "shorter than a TGA header";
      return "too short for its " + std::to_string(get_le16(&start[kWidthAt])) + " x " +
             std::to_string(get_le16(&start[kHeightAt])) + " pixels";
  }
  return {};
}

std::string fault_remedy(Fault fault, std::span<const std::uint8_t> start) {
  switch (fault) {
    case Fault::kImageType:
      for (const ForeignType& foreign : kForeignTypes) {
        if (start[kImageTypeAt] == foreign.type) return foreign.remedy;
      }
      break;
    case Fault::kBitsPerPixel:
      if (start[kBitsPerPixelAt] == 32) return std::string("32 bits with alpha") + kAs24Bits;
      if (start[kBitsPerPixelAt] == 16) return std::string("16 bits") + kAs24Bits;
      break;
    case Fault::kDescriptor:
      if (start[kDescriptorAt] & kDescriptorRightToLeft) {
        return "rows right to left; save it with rows left to right";
      }
      break;
    case Fault::kNone:
    case Fault::kTooShort:
      break;
  }
  return {};
}

bool size_fields(std::span<const std::uint8_t> start, SizeFields& fields) {
  static_assert(kHeightAt == kWidthAt + 2);
  if (start.size() < kWidthAt + fields.size()) return false;
  std::copy_n(start.begin() + kWidthAt, fields.size(), fields.begin());
  return true;
}

std::array<std::uint8_t, kHeaderSize> header_bytes(std::uint16_t width, std::uint16_t height,
                                                   bool bottom_up) {
  std::array<std::uint8_t, kHeaderSize> header{};
  header[kImageTypeAt] = kUncompressedTrueColour;
  put_le16(&header[kWidthAt], width);
  put_le16(&header[kHeightAt], height);
  header[kBitsPerPixelAt] = kBitsPerPixel;
  header[kDescriptorAt] = bottom_up ? kDescriptorBottomUp : kDescriptorTopDown;
  return header;
}

BottomUpWriter::BottomUpWriter(Sink sink, std::uint16_t width, std::uint16_t height,
                               std::vector<Pixel> overlay, std::size_t block_bytes)
    : sink_(std::move(sink)),
      width_(width),
      height_(height),
      row_bytes_(std::size_t{width} * kBytesPerPixel),
      block_rows_(std::max<std::size_t>(1, block_bytes / std::max<std::size_t>(row_bytes_, 1))),
      block_(std::make_unique<std::uint8_t[]>(block_rows_ * row_bytes_)),
      overlay_(std::move(overlay)),
      x_(width) {}

bool BottomUpWriter::write_header() {
  return sink_(0, header_bytes(std::uint16_t(width_), std::uint16_t(height_), true));
}

bool BottomUpWriter::paint(Rgb colour, std::uint32_t length) {
  while (length > 0) {
    if (x_ == width_ && !next_row()) return false;
    const std::uint32_t count = std::min(length, width_ - x_);
    std::uint8_t* pixel = row_ + std::size_t{x_} * kBytesPerPixel;
    for (std::uint32_t i = 0; i < count; ++i, pixel += kBytesPerPixel) put_pixel(pixel, colour);
    x_ += count;
    length -= count;
  }
  return true;
}

bool BottomUpWriter::finish() {
  return rows_in_block_ == 0 || write_block();
}

bool BottomUpWriter::next_row() {
  ++y_;
  if (y_ == block_top_ + rows_in_block_) {
    if (rows_in_block_ > 0 && !write_block()) return false;
    block_top_ = y_;
    rows_in_block_ = std::min<std::size_t>(block_rows_, height_ - y_);
  }
  row_ = block_pixel(0, y_);
  x_ = 0;
  return true;
}

// The block holds its rows as the file does: its last row first.
std::uint8_t* BottomUpWriter::block_pixel(std::uint32_t x, std::uint32_t y) {
  return block_.get() + (rows_in_block_ - 1 - (y - block_top_)) * row_bytes_ +
         std::size_t{x} * kBytesPerPixel;
}

bool BottomUpWriter::write_block() {
  for (; next_overlay_ < overlay_.size() && overlay_[next_overlay_].y < block_top_ + rows_in_block_;
       ++next_overlay_) {
    const Pixel& pixel = overlay_[next_overlay_];
    put_pixel(block_pixel(pixel.x, pixel.y), pixel.colour);
  }
  const std::uint64_t first_stored_row = height_ - block_top_ - rows_in_block_;
  return sink_(kHeaderSize + first_stored_row * row_bytes_,
               {block_.get(), rows_in_block_ * row_bytes_});
}

}  // namespace zur::tga
