// SPDX-License-Identifier: MIT
// The TGA header's checks, and the header written against the test's own
// TGA builder.
#include "engine/attrmap/tga.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/level_sources.h"

namespace zur {
namespace {

using test::TgaBuilder;
using Bytes = std::vector<std::uint8_t>;

tga::Fault fault_of(const Bytes& file, tga::Header& header) {
  const std::size_t start = std::min(file.size(), tga::kHeaderSize);
  return tga::parse_header({file.data(), start}, file.size(), header);
}

TEST(TgaHeader, TheFirstFailedCheckIsNamed) {
  const Bytes sound = TgaBuilder(3, 2).bytes();
  const struct {
    std::string what;
    Bytes file;
    tga::Fault fault;
  } cases[] = {
      {"sound", sound, tga::Fault::kNone},
      {"compressed, 32 bits", TgaBuilder(3, 2).image_type(10).bits_per_pixel(32).bytes(),
       tga::Fault::kImageType},
      {"32 bits, alpha", TgaBuilder(3, 2).bits_per_pixel(32).descriptor(8).bytes(),
       tga::Fault::kBitsPerPixel},
      {"right to left", TgaBuilder(3, 2).descriptor(16).bytes(), tga::Fault::kDescriptor},
      {"type 2 in a 3-byte file", {0, 0, 2}, tga::Fault::kTooShort},
      {"type 1 in a 3-byte file", {0, 0, 1}, tga::Fault::kImageType},
      {"header only", Bytes(sound.begin(), sound.begin() + 18), tga::Fault::kTooShort},
      {"a pixel short", Bytes(sound.begin(), sound.end() - 3), tga::Fault::kTooShort},
      {"no pixels after a colour map", TgaBuilder(0, 0).colour_map(2, 24).bytes(),
       tga::Fault::kNone},
  };
  for (const auto& c : cases) {
    tga::Header header;
    EXPECT_EQ(fault_of(c.file, header), c.fault) << c.what;
  }
}

TEST(TgaHeader, PixelsFollowTheIdFieldAndTheColourMap) {
  const struct {
    std::uint8_t id_length;
    std::uint16_t entries;
    std::uint8_t entry_bits;
    std::uint64_t pixels_at;
  } cases[] = {{0, 0, 0, 18}, {5, 0, 0, 23}, {0, 3, 24, 27}, {2, 4, 15, 28}, {1, 2, 32, 27}};
  for (const auto& c : cases) {
    TgaBuilder picture(4, 2);
    picture.id_length(c.id_length);
    if (c.entry_bits != 0) picture.colour_map(c.entries, c.entry_bits);
    tga::Header header;
    ASSERT_EQ(fault_of(picture.bytes(), header), tga::Fault::kNone) << int(c.id_length);
    EXPECT_EQ(header.pixels_at, c.pixels_at) << int(c.id_length) << ", " << c.entries;
  }
}

TEST(TgaHeader, TheWrittenHeaderReadsBack) {
  for (const bool bottom_up : {true, false}) {
    const auto bytes = tga::header_bytes(65535, 300, bottom_up);
    tga::Header header;
    ASSERT_EQ(tga::parse_header(bytes, 18 + 65535ull * 300 * 3, header), tga::Fault::kNone);
    EXPECT_EQ(header.width, 65535);
    EXPECT_EQ(header.height, 300);
    EXPECT_EQ(header.bottom_up, bottom_up);
    EXPECT_EQ(header.pixels_at, 18u);
    const Bytes built = TgaBuilder(0, 0).descriptor(bottom_up ? 0 : 32).bytes();
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + tga::kWidthAt, built.begin()));
  }
}

}  // namespace
}  // namespace zur
