// SPDX-License-Identifier: MIT
#include "engine/attrmap/attribute_map.h"

#include <algorithm>

namespace zur {
namespace {

using HeaderStart = std::array<std::uint8_t, tga::kHeaderSize>;

// The file's first bytes, as many of a header's as it has; nothing when they
// cannot be read.
std::optional<std::span<const std::uint8_t>> read_start(MapBytes& map, HeaderStart& start) {
  const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(map.size(), start.size()));
  if (!map.read_at(0, start.data(), length)) return std::nullopt;
  return std::span<const std::uint8_t>(start.data(), length);
}

// The conversion's result for the first check the header fails.
ConversionResult result_of(tga::Fault fault) {
  switch (fault) {
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
  HeaderStart bytes;
  const std::optional<std::span<const std::uint8_t>> start = read_start(map, bytes);
  if (!start) return ConversionResult::kAttributeMapMissing;
  return result_of(tga::parse_header(*start, map.size(), header));
}

std::optional<MapHeaderFault> check_map_header(MapBytes& map, MapHeader& header) {
  HeaderStart bytes;
  const std::optional<std::span<const std::uint8_t>> start = read_start(map, bytes);
  if (!start) return std::nullopt;
  MapHeaderFault checked{tga::parse_header(*start, map.size(), header), {}, {}};
  if (checked.fault != tga::Fault::kNone) {
    checked.text = tga::fault_text(checked.fault, *start);
    checked.remedy = tga::fault_remedy(checked.fault, *start);
  }
  return checked;
}

ConversionResult open_attribute_map(const std::string& path, MapFile& map, MapHeader& header) {
  if (!map.open(path).ok()) return ConversionResult::kAttributeMapMissing;
  return read_map_header(map, header);
}

ConversionResult read_map_size_section(const std::string& path, MapSizeSection& section,
                                       platform::System& system) {
  static_assert(std::tuple_size_v<tga::SizeFields> == std::tuple_size_v<MapSizeSection>);
  MapFile map(system);
  if (!map.open(path).ok()) return ConversionResult::kAttributeMapMissing;
  HeaderStart bytes;
  const std::optional<std::span<const std::uint8_t>> start = read_start(map, bytes);
  if (!start) return ConversionResult::kAttributeMapMissing;
  return tga::size_fields(*start, section) ? ConversionResult::kSuccess
                                           : ConversionResult::kWrongTgaFormat;
}

}  // namespace zur
