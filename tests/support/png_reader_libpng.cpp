// SPDX-License-Identifier: MIT
#include <png.h>

#include "tests/support/png_reader.h"

namespace zur::test {

std::optional<RgbPicture> decode_png(const std::vector<std::uint8_t>& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  RgbPicture picture{image.width, image.height, std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) return std::nullopt;
  return picture;
}

}  // namespace zur::test
