#include "engine/attrmap/attribute_map.h"

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
  if (size > 2 && file[2] != kUncompressedTrueColour) return result::kWrongTgaFormat;
  if (size > 16 && file[16] != kBitsPerPixel) return result::kIllegalBitDepth;
  if (size > 17 && file[17] != kBottomUp && file[17] != kTopDown) return result::kWrongTgaFormat;
  if (size < kTgaHeaderSize) return result::kWrongTgaFormat;
  const std::uint64_t pixels = std::uint64_t{get_le16(file + 12)} * get_le16(file + 14);
  if (size - kTgaHeaderSize < pixels * kBytesPerPixel) return result::kWrongTgaFormat;
  return result::kSuccess;
}

}  // namespace

ConversionResult read_attribute_map(const std::string& path, AttributeMap& map) {
  InputFile file;
  if (!file.open(path)) return result::kAttributeMapMissing;
  if (file.size() > SIZE_MAX) return result::kNotEnoughMemory;
  const auto size = static_cast<std::size_t>(file.size());
  std::unique_ptr<std::uint8_t[]> contents(new (std::nothrow) std::uint8_t[size == 0 ? 1 : size]);
  if (!contents) return result::kNotEnoughMemory;
  if (!file.read_exact(contents.get(), size)) return result::kAttributeMapMissing;

  const ConversionResult checked = check_header(contents.get(), size);
  if (checked != result::kSuccess) return checked;
  map.width = get_le16(contents.get() + 12);
  map.height = get_le16(contents.get() + 14);
  map.bottom_up = contents[17] == kBottomUp;
  map.contents = std::move(contents);
  map.size = size;
  return result::kSuccess;
}

}  // namespace zur
