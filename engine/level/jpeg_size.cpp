#include "engine/level/jpeg_size.h"

namespace zur {
namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kStartOfScan = 0xDA;

// SOF0 to SOF15, except DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool is_frame_header(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length.
bool stands_alone(std::uint8_t marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

std::uint16_t big_endian16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}

}  // namespace

std::optional<JpegSize> jpeg_size(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < 2 || bytes[0] != kMarker || bytes[1] != kStartOfImage) return std::nullopt;
  std::size_t at = 2;
  while (at + 1 < bytes.size()) {
    if (bytes[at] != kMarker) return std::nullopt;
    const std::uint8_t marker = bytes[at + 1];
    if (marker == kMarker) {  // fill byte
      ++at;
      continue;
    }
    at += 2;
    if (stands_alone(marker)) continue;
    if (marker == kStartOfScan || at + 2 > bytes.size()) return std::nullopt;
    const std::uint16_t length = big_endian16(&bytes[at]);
    // Length, precision, height, width.
    if (is_frame_header(marker)) {
      if (length < 7 || at + 7 > bytes.size()) return std::nullopt;
      return JpegSize{big_endian16(&bytes[at + 5]), big_endian16(&bytes[at + 3])};
    }
    if (length < 2) return std::nullopt;
    at += length;
  }
  return std::nullopt;
}

}  // namespace zur
