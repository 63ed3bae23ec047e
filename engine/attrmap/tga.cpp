// SPDX-License-Identifier: MIT
#include "engine/attrmap/tga.h"

#include "engine/level/shared/byte_order.h"

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
  if (file_size < header.pixels_at ||
      file_size - header.pixels_at < header.pixel_count() * kBytesPerPixel) {
    return Fault::kTooShort;
  }
  return Fault::kNone;
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

}  // namespace zur::tga
