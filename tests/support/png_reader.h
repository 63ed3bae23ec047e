// SPDX-License-Identifier: MIT
// Decodes a PNG into 8-bit RGB pixels, for tests that check what the PNG
// writer or a program wrote: libpng's reader, or on Windows the Windows
// Imaging Component's decoder.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace zur::test {

struct RgbPicture {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint8_t> rgb;  // rows top first, red, green, blue
};

// Nothing when the bytes are not a PNG that decodes.
std::optional<RgbPicture> decode_png(const std::vector<std::uint8_t>& bytes);

}  // namespace zur::test
