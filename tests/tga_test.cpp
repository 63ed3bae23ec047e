// SPDX-License-Identifier: MIT
// The TGA header's checks, and the bottom-up writer against the test's own
// TGA builder: pictures painted in runs, top row first, with pixels drawn
// over them, come out as the builder stores them bottom row first.
#include "engine/attrmap/tga.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/support/level_sources.h"

namespace zur {
namespace {

using test::Colour;
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
    EXPECT_EQ(header.id_length, c.id_length);
    EXPECT_EQ(header.colour_map_type, c.entry_bits != 0 ? tga::kColourMapIncluded : 0);
    EXPECT_EQ(header.colour_map_entries, c.entries);
    EXPECT_EQ(header.colour_map_entry_bits, c.entry_bits);
  }
}

TEST(TgaHeader, SizeFieldsAsTheyStand) {
  const Bytes file = TgaBuilder(0x0102, 0x0304).bytes();
  tga::SizeFields fields{};
  ASSERT_TRUE(tga::size_fields({file.data(), tga::kHeaderSize}, fields));
  EXPECT_EQ(fields, (tga::SizeFields{0x02, 0x01, 0x04, 0x03}));
  EXPECT_TRUE(tga::size_fields({file.data(), 16}, fields));
  EXPECT_FALSE(tga::size_fields({file.data(), 15}, fields));
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

// A file in memory that every write of the writer goes into.
struct MemoryFile {
  Bytes bytes;
  std::uint64_t written = 0;
  int writes_left = -1;  // fails the writes after this many; -1 never

  tga::Sink sink() {
    return [this](std::uint64_t offset, std::span<const std::uint8_t> data) {
      if (writes_left == 0) return false;
      if (writes_left > 0) --writes_left;
      bytes.resize(std::max<std::size_t>(bytes.size(), offset + data.size()));
      std::copy(data.begin(), data.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
      written += data.size();
      return true;
    };
  }
};

Rgb rgb(Colour c) {
  return {c.red, c.green, c.blue};
}

TEST(TgaBottomUpWriter, RunsAndOverlayComeOutAsTheBuilderStoresThem) {
  std::mt19937 random(7);
  const auto below = [&](int limit) {
    return std::uniform_int_distribution<int>(0, limit - 1)(random);
  };
  const struct {
    int width, height;
    std::size_t block_bytes;
  } sizes[] = {{0, 0, 100}, {0, 5, 100}, {5, 0, 100},   {1, 1, 1},     {7, 5, 1},
               {7, 5, 42},  {7, 5, 50},  {13, 9, 1000}, {40, 31, 200}, {300, 200, 1 << 20}};
  for (const auto& size : sizes) {
    const std::string row = std::to_string(size.width) + " × " + std::to_string(size.height) +
                            ", blocks of " + std::to_string(size.block_bytes);
    TgaBuilder picture(size.width, size.height);
    std::vector<std::pair<Colour, std::uint32_t>> runs;
    for (int pixel = 0, count = size.width * size.height; pixel < count;) {
      const int length = std::min(count - pixel, 1 + below(3 * size.width + 2));
      const Colour colour{std::uint8_t(below(256)), std::uint8_t(below(256)), 9};
      for (int i = pixel; i < pixel + length; ++i)
        picture.set(i % size.width, i / size.width, colour);
      runs.push_back({colour, std::uint32_t(length)});
      pixel += length;
    }
    std::vector<tga::Pixel> overlay;
    for (int i = size.width * size.height == 0 ? 0 : 1 + below(20); i > 0; --i) {
      const auto x = std::uint32_t(below(size.width)), y = std::uint32_t(below(size.height));
      overlay.push_back({x, y, {std::uint8_t(below(256)), 1, 200}});
      if (i % 4 == 0) overlay.push_back({x, y, {std::uint8_t(below(256)), 2, 201}});
    }
    std::stable_sort(overlay.begin(), overlay.end(),
                     [](const tga::Pixel& a, const tga::Pixel& b) { return a.y < b.y; });
    for (const tga::Pixel& pixel : overlay) {
      picture.set(int(pixel.x), int(pixel.y),
                  {pixel.colour.red, pixel.colour.green, pixel.colour.blue});
    }

    MemoryFile file;
    tga::BottomUpWriter writer(file.sink(), std::uint16_t(size.width), std::uint16_t(size.height),
                               overlay, size.block_bytes);
    ASSERT_TRUE(writer.write_header()) << row;
    for (const auto& [colour, length] : runs) ASSERT_TRUE(writer.paint(rgb(colour), length)) << row;
    ASSERT_TRUE(writer.finish()) << row;
    const Bytes expected = picture.descriptor(0).bytes();
    EXPECT_EQ(file.written, expected.size()) << row;  // each byte once
    EXPECT_TRUE(file.bytes == expected) << row;
  }
}

// The header, then three blocks of one row each: a failure of any of these
// writes ends the writing with false.
TEST(TgaBottomUpWriter, AFailedWriteIsReported) {
  for (int writes = 0; writes < 4; ++writes) {
    MemoryFile file;
    file.writes_left = writes;
    tga::BottomUpWriter writer(file.sink(), 2, 3, {}, 6);
    const bool written = writer.write_header() && writer.paint({1, 2, 3}, 2) &&
                         writer.paint({1, 2, 3}, 4) && writer.finish();
    EXPECT_FALSE(written) << writes;
    EXPECT_EQ(file.written, writes == 0 ? 0u : 18u + 6u * (writes - 1)) << writes;
  }
}

}  // namespace
}  // namespace zur
