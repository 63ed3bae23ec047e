// The size of a JPEG picture, read from its frame header (SOFn segment)
// without decoding anything.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace zur {

struct JpegSize {
  std::uint16_t width, height;
};

// Nothing when the bytes are not a JPEG or hold no frame header before the
// first scan.
std::optional<JpegSize> jpeg_size(std::span<const std::uint8_t> bytes);

}  // namespace zur
