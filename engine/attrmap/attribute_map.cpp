// SPDX-License-Identifier: MIT
#include "engine/attrmap/attribute_map.h"

#include <algorithm>

#include "engine/level/shared/byte_order.h"

namespace zur {
namespace {

// Where the pixel data starts: after the header, the image-ID field and,
// when one is included, the colour map.
std::uint64_t pixel_data_offset(std::span<const std::uint8_t, tga::kHeaderSize> header) {
  using namespace tga;
  std::uint64_t offset = kHeaderSize + header[kIdLengthAt];
  if (header[kColourMapTypeAt] == kColourMapIncluded) {
    const std::uint64_t entry_bytes = (header[kColourMapEntryBitsAt] + 7u) / 8u;
    offset += get_le16(&header[kColourMapLengthAt]) * entry_bytes;
  }
  return offset;
}

// Tests the header fields in the order that decides which failure is shown,
// on whichever of them the file is long enough to hold.
ConversionResult check_header(std::span<const std::uint8_t> start, std::uint64_t file_size,
                              MapHeader& header) {
  using namespace tga;
  const std::size_t size = start.size();
  if (size > kImageTypeAt && start[kImageTypeAt] != kUncompressedTrueColour) {
    return ConversionResult::kWrongTgaFormat;
  }
  if (size > kBitsPerPixelAt && start[kBitsPerPixelAt] != kBitsPerPixel) {
    return ConversionResult::kIllegalBitDepth;
  }
  if (size > kDescriptorAt && start[kDescriptorAt] != kDescriptorBottomUp &&
      start[kDescriptorAt] != kDescriptorTopDown) {
    return ConversionResult::kWrongTgaFormat;
  }
  if (size < kHeaderSize) return ConversionResult::kWrongTgaFormat;
  header.width = get_le16(&start[kWidthAt]);
  header.height = get_le16(&start[kHeightAt]);
  header.bottom_up = start[kDescriptorAt] == kDescriptorBottomUp;
  header.pixels_at = pixel_data_offset(start.first<kHeaderSize>());
  if (file_size < header.pixels_at ||
      file_size - header.pixels_at < header.pixel_count() * kBytesPerPixel) {
    return ConversionResult::kWrongTgaFormat;
  }
  return ConversionResult::kSuccess;
}

}  // namespace

bool MapMemory::read_at(std::uint64_t offset, std::uint8_t* into, std::size_t count) {
  if (offset > file_.size() || file_.size() - offset < count) return false;
  std::copy_n(file_.begin() + static_cast<std::ptrdiff_t>(offset), count, into);
  return true;
}

ConversionResult read_map_header(MapBytes& map, MapHeader& header) {
  std::array<std::uint8_t, tga::kHeaderSize> start{};
  const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(map.size(), start.size()));
  if (!map.read_at(0, start.data(), length)) return ConversionResult::kAttributeMapMissing;
  return check_header({start.data(), length}, map.size(), header);
}

ConversionResult open_attribute_map(const std::string& path, MapFile& map, MapHeader& header) {
  if (!map.open(path)) return ConversionResult::kAttributeMapMissing;
  return read_map_header(map, header);
}

ConversionResult read_map_size_section(const std::string& path, MapSizeSection& section) {
  InputFile map;
  if (!map.open(path)) return ConversionResult::kAttributeMapMissing;
  if (map.size() < tga::kWidthAt + section.size()) return ConversionResult::kWrongTgaFormat;
  std::array<std::uint8_t, tga::kWidthAt + std::tuple_size_v<MapSizeSection>> start{};
  if (!map.read_exact(start.data(), start.size())) return ConversionResult::kAttributeMapMissing;
  std::copy(start.begin() + tga::kWidthAt, start.end(), section.begin());
  return ConversionResult::kSuccess;
}

}  // namespace zur
