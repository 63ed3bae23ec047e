// SPDX-License-Identifier: MIT
#include "engine/attrmap/png_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/support/png_reader.h"

namespace zur {
namespace {

std::vector<std::uint8_t> random_pixels(std::uint32_t width, std::uint32_t height,
                                        std::mt19937& random) {
  std::vector<std::uint8_t> rgb(std::size_t(width) * height * 3);
  for (auto& byte : rgb) byte = static_cast<std::uint8_t>(random());
  return rgb;
}

// Encodes the picture through a sink that takes at most `limit` bytes.
bool encode(const test::RgbPicture& picture, std::vector<std::uint8_t>& png,
            std::size_t limit = SIZE_MAX) {
  PngWriter writer;
  const ByteSink sink = [&](const std::uint8_t* bytes, std::size_t count) {
    if (png.size() + count > limit) return false;
    png.insert(png.end(), bytes, bytes + count);
    return true;
  };
  if (!writer.open(sink, picture.width, picture.height)) return false;
  bool written = true;
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    written = writer.write_row(&picture.rgb[std::size_t(y) * picture.width * 3]) && written;
  }
  return writer.finish() && written;
}

TEST(PngWriter, DecodesToThePixelsWritten) {
  std::mt19937 random(7);
  const std::pair<std::uint32_t, std::uint32_t> sizes[] = {
      {1, 1}, {3, 2}, {1, 40}, {301, 7}, {4000, 3}};
  for (const auto& [width, height] : sizes) {
    const test::RgbPicture picture{width, height, random_pixels(width, height, random)};
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(encode(picture, png)) << width << " x " << height;
    const std::optional<test::RgbPicture> decoded = test::decode_png(png);
    ASSERT_TRUE(decoded) << width << " x " << height;
    EXPECT_EQ(decoded->width, width);
    EXPECT_EQ(decoded->height, height);
    EXPECT_TRUE(decoded->rgb == picture.rgb) << width << " x " << height;
  }
}

TEST(PngWriter, ASinkThatFailsAnywhereFailsThePicture) {
  std::mt19937 random(11);
  const test::RgbPicture picture{64, 64, random_pixels(64, 64, random)};
  std::vector<std::uint8_t> whole;
  ASSERT_TRUE(encode(picture, whole));
  for (const std::size_t limit :
       {std::size_t(0), std::size_t(8), std::size_t(40), whole.size() / 2, whole.size() - 1}) {
    std::vector<std::uint8_t> cut;
    EXPECT_FALSE(encode(picture, cut, limit)) << "sink full after " << limit << " bytes";
  }
}

TEST(PngWriter, APictureWithRowsMissingIsNotFinished) {
  std::mt19937 random(3);
  const test::RgbPicture picture{5, 4, random_pixels(5, 4, random)};
  PngWriter writer;
  std::vector<std::uint8_t> png;
  ASSERT_TRUE(writer.open(
      [&](const std::uint8_t* bytes, std::size_t count) {
        png.insert(png.end(), bytes, bytes + count);
        return true;
      },
      picture.width, picture.height));
  for (std::uint32_t y = 0; y < 3; ++y) EXPECT_TRUE(writer.write_row(&picture.rgb[y * 15]));
  EXPECT_FALSE(writer.finish());
  EXPECT_FALSE(writer.write_row(picture.rgb.data()));
}

}  // namespace
}  // namespace zur
