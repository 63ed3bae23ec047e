// SPDX-License-Identifier: MIT
// The width and height of a JPEG picture, read from its frame header (the
// SOFn segment) without decoding it, and whether bytes start as a JPEG does.
// Reads only the given bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace zur {

struct JpegSize {
  std::uint16_t width;
  std::uint16_t height;  // 0 when a later DNL segment gives it
};

// True when the bytes start with the start-of-image marker and another
// marker after it, as every JPEG does.
bool has_jpeg_start(std::span<const std::uint8_t> picture);

// Nothing when the bytes are not a JPEG or end before its frame header.
std::optional<JpegSize> jpeg_frame_size(std::span<const std::uint8_t> picture);

}  // namespace zur
