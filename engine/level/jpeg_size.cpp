// SPDX-License-Identifier: MIT
#include "engine/level/jpeg_size.h"

#include <cstddef>

namespace zur {
namespace {

constexpr std::uint8_t kMarkerStart = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kTemporary = 0x01;
constexpr std::uint8_t kFirstRestart = 0xD0, kLastRestart = 0xD7;

// SOF0 to SOF15 but DHT (C4), JPG (C8) and DAC (CC), which share the range.
bool is_frame_header(std::uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length.
bool has_no_length(std::uint8_t marker) {
  return marker == kTemporary || (marker >= kFirstRestart && marker <= kLastRestart);
}

std::uint16_t get_be16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}

}  // namespace

bool has_jpeg_start(std::span<const std::uint8_t> picture) {
  return picture.size() >= 3 && picture[0] == kMarkerStart && picture[1] == kStartOfImage &&
         picture[2] == kMarkerStart;
}

std::optional<JpegSize> jpeg_frame_size(std::span<const std::uint8_t> picture) {
  // Frame header after its length: precision, height, width.
  constexpr std::size_t kHeightAt = 3, kWidthAt = 5, kFrameFieldsEnd = 7;
  if (!has_jpeg_start(picture)) return std::nullopt;
  std::size_t at = 2;
  for (;;) {
    if (at >= picture.size() || picture[at] != kMarkerStart) return std::nullopt;
    while (at < picture.size() && picture[at] == kMarkerStart) ++at;  // fill bytes
    if (at >= picture.size()) return std::nullopt;
    const std::uint8_t marker = picture[at++];
    if (has_no_length(marker)) continue;
    if (marker == kStartOfScan || picture.size() - at < 2) return std::nullopt;
    const std::size_t length = get_be16(&picture[at]);
    if (length < 2 || picture.size() - at < length) return std::nullopt;
    if (is_frame_header(marker)) {
      if (length < kFrameFieldsEnd) return std::nullopt;
      return JpegSize{get_be16(&picture[at + kWidthAt]), get_be16(&picture[at + kHeightAt])};
    }
    at += length;
  }
}

}  // namespace zur
