// SPDX-License-Identifier: MIT
#include "engine/attrmap/attribute_map.h"

#include <algorithm>

namespace zur {
namespace {

// The conversion's result for the first check the header fails.
ConversionResult check_header(std::span<const std::uint8_t> start, std::uint64_t file_size,
                              MapHeader& header) {
  switch (tga::parse_header(start, file_size, header)) {
    case tga::Fault::kNone:
      return ConversionResult::kSuccess;
    case tga::Fault::kBitsPerPixel:
      return ConversionResult::kIllegalBitDepth;
    case tga::Fault::kImageType:
    case tga::Fault::kDescriptor:
    case tga::Fault::kTooShort:
      break;
  }
  return ConversionResult::kWrongTgaFormat;
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
