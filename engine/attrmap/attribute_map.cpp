#include "engine/attrmap/attribute_map.h"

#include <algorithm>
#include <new>

#include "engine/level/byte_order.h"
#include "engine/level/input_file.h"

namespace zur {
namespace {

constexpr std::uint8_t kUncompressedTrueColour = 2;
constexpr std::uint8_t kBitsPerPixel = 24;
// Image descriptor: bit 5 set means top row first; any other bit (alpha
// depth, right-to-left order) is refused.
constexpr std::uint8_t kBottomUp = 0;
constexpr std::uint8_t kTopDown = 32;

// Tests the header fields in the order that decides which failure is shown,
// on whichever of them the file is long enough to hold.
ConversionResult check_header(const std::uint8_t* file, std::size_t size) {
  using namespace tga;
  if (size > kImageTypeAt && file[kImageTypeAt] != kUncompressedTrueColour) {
    return ConversionResult::kWrongTgaFormat;
  }
  if (size > kBitsPerPixelAt && file[kBitsPerPixelAt] != kBitsPerPixel) {
    return ConversionResult::kIllegalBitDepth;
  }
  if (size > kDescriptorAt && file[kDescriptorAt] != kBottomUp && file[kDescriptorAt] != kTopDown) {
    return ConversionResult::kWrongTgaFormat;
  }
  if (size < kHeaderSize) return ConversionResult::kWrongTgaFormat;
  const std::uint64_t pixels =
      std::uint64_t{get_le16(file + kWidthAt)} * get_le16(file + kHeightAt);
  if (size - kHeaderSize < pixels * kBytesPerPixel) return ConversionResult::kWrongTgaFormat;
  return ConversionResult::kSuccess;
}

std::unique_ptr<std::uint8_t[]> allocate(std::size_t size) {
  return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
}

ConversionResult take_attribute_map(std::unique_ptr<std::uint8_t[]> contents, std::size_t size,
                                    AttributeMap& map) {
  const ConversionResult checked = check_header(contents.get(), size);
  if (checked != ConversionResult::kSuccess) return checked;
  map.width = get_le16(contents.get() + tga::kWidthAt);
  map.height = get_le16(contents.get() + tga::kHeightAt);
  map.bottom_up = contents[tga::kDescriptorAt] == kBottomUp;
  map.contents = std::move(contents);
  map.size = size;
  return ConversionResult::kSuccess;
}

}  // namespace

ConversionResult read_attribute_map(const std::string& path, AttributeMap& map) {
  InputFile file;
  if (!file.open(path)) return ConversionResult::kAttributeMapMissing;
  if (file.size() > SIZE_MAX) return ConversionResult::kNotEnoughMemory;
  const auto size = static_cast<std::size_t>(file.size());
  std::unique_ptr<std::uint8_t[]> contents = allocate(size);
  if (!contents) return ConversionResult::kNotEnoughMemory;
  if (!file.read_exact(contents.get(), size)) return ConversionResult::kAttributeMapMissing;
  return take_attribute_map(std::move(contents), size, map);
}

ConversionResult parse_attribute_map(std::span<const std::uint8_t> file, AttributeMap& map) {
  std::unique_ptr<std::uint8_t[]> contents = allocate(file.size());
  if (!contents) return ConversionResult::kNotEnoughMemory;
  std::copy(file.begin(), file.end(), contents.get());
  return take_attribute_map(std::move(contents), file.size(), map);
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
