// SPDX-License-Identifier: MIT
#include "engine/attrmap/attribute_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <optional>
#include <random>

#include "engine/attrmap/map_pass.h"
#include "tests/support/level_bytes.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

using test::Colour;
using test::TempDir;
using test::TgaBuilder;
using Bytes = std::vector<std::uint8_t>;

constexpr Colour kAir{0, 0, 0};            // code 0
constexpr Colour kLand{0, 152, 0};         // code 1
constexpr Colour kWhite{255, 255, 255};    // code 7
constexpr Colour kCyan{0, 255, 255};       // code 33
constexpr Colour kIllegal{1, 2, 3};        // in no palette row
constexpr Colour kAlsoIllegal{0, 152, 1};  // one step from basic land

struct Packed {
  ConversionResult result;
  Bytes bytes;
  PackStats stats;
};

// The pass over the map, then the question about its first illegal pixel:
// on No nothing of the stream is written.
Packed pack(const TgaBuilder& picture, test::ScriptedPrompts& prompts, WarningList& warnings) {
  const test::ScannedMap scanned = test::scan_map(picture);
  const std::optional<IllegalPixel>& illegal = scanned.findings->first_illegal;
  if (illegal && !accept_illegal_colours(*illegal, warnings, prompts)) {
    return {ConversionResult::kIllegalColours, {}, scanned.findings->packing};
  }
  return {scanned.result, scanned.stream, scanned.findings->packing};
}

Packed pack(const TgaBuilder& picture) {
  test::ScriptedPrompts prompts;
  WarningList warnings;
  return pack(picture, prompts, warnings);
}

// The stream a per-pixel packer writes: each pixel extends the pending run
// or cuts it when the code changes or the run holds 1023 pixels.
Bytes reference_stream(const std::vector<int>& codes) {
  Bytes stream;
  auto write_run = [&](int code, int length) {
    stream.push_back(static_cast<std::uint8_t>(code << 2 | (length & 3)));
    stream.push_back(static_cast<std::uint8_t>(length >> 2));
  };
  int pending = -1, length = 0;
  for (int code : codes) {
    if ((pending != -1 && pending != code) || length == 1023) {
      write_run(pending, length);
      length = 0;
    }
    pending = code;
    ++length;
  }
  if (length > 0) write_run(pending, length);
  stream.push_back(0xFF);
  stream.push_back(0xFF);
  return stream;
}

TEST(PackAttributeMap, DocumentedStreams) {
  TgaBuilder mixed(3, 1);
  mixed.set(2, 0, kWhite);
  const struct {
    const char* name;
    TgaBuilder picture;
    Bytes stream;
    std::int64_t packed, unpacked;
  } cases[] = {
      {"10 x 2 air, one run across the row end",
       TgaBuilder(10, 2),
       {0x00, 0x05, 0xFF, 0xFF},
       2,
       20},
      {"air, air, white", mixed, {0x02, 0x00, 0x1D, 0x00, 0xFF, 0xFF}, 4, 3},
      {"1023 air", TgaBuilder(1023, 1), {0x03, 0xFF, 0xFF, 0xFF}, 2, 1023},
      {"1024 air", TgaBuilder(1024, 1), {0x03, 0xFF, 0x01, 0x00, 0xFF, 0xFF}, 4, 1024},
      {"1023 code 33", TgaBuilder(1023, 1, kCyan), {0x87, 0xFF, 0xFF, 0xFF}, 2, 1023},
      {"2046 air", TgaBuilder(1023, 2), {0x03, 0xFF, 0x03, 0xFF, 0xFF, 0xFF}, 4, 2046},
      {"2047 air in a column", TgaBuilder(1, 2047), {3, 0xFF, 3, 0xFF, 1, 0, 0xFF, 0xFF}, 6, 2047},
      {"no pixels", TgaBuilder(0, 0), {0xFF, 0xFF}, 0, 0},
      {"no columns", TgaBuilder(0, 9), {0xFF, 0xFF}, 0, 0},
      {"no rows", TgaBuilder(9, 0), {0xFF, 0xFF}, 0, 0},
  };
  for (const auto& c : cases) {
    const Packed packed = pack(c.picture);
    EXPECT_EQ(packed.result, ConversionResult::kSuccess) << c.name;
    EXPECT_EQ(packed.bytes, c.stream) << c.name;
    EXPECT_EQ(packed.stats.packed, c.packed) << c.name;
    EXPECT_EQ(packed.stats.unpacked, c.unpacked) << c.name;
  }
}

TEST(PackAttributeMap, HundredByHundredOfOneCodeIsNineFullRunsAndOneOf793) {
  const Packed packed = pack(TgaBuilder(100, 100, kLand));
  std::vector<test::Run> runs(9, {1, 1023});
  runs.push_back({1, 793});
  const test::DecodedStream stream = test::decode_stream(packed.bytes);
  EXPECT_TRUE(stream.ended);
  EXPECT_EQ(stream.runs, runs);
  EXPECT_EQ(packed.stats.packed, 20);
  EXPECT_EQ(packed.stats.unpacked, 10000);
  EXPECT_EQ(packed.stats.histogram[1], 10000);
}

TEST(PackAttributeMap, CountsPixelsPerCode) {
  TgaBuilder picture(50, 3, kAir);
  for (int x = 0; x < 50; ++x) picture.set(x, 1, kLand);
  picture.set(7, 2, kCyan).set(8, 2, kWhite);
  const Packed packed = pack(picture);
  std::map<int, std::int64_t> counts;
  for (int code = 0; code < 256; ++code) {
    if (packed.stats.histogram[code] != 0) counts[code] = packed.stats.histogram[code];
  }
  EXPECT_EQ(counts, (std::map<int, std::int64_t>{{0, 98}, {1, 50}, {7, 1}, {33, 1}}));
}

// Rows made of runs whose lengths sit around the 16-pixel blocks the packer
// compares at once, starting at every offset, with colour changes inside a
// block: the stream must be the per-pixel one.
TEST(PackAttributeMap, StreamEqualsThePerPixelPackingForRunsAroundBlockSizes) {
  const Colour colours[] = {kAir, kLand, kWhite, kCyan};
  const int lengths[] = {1, 2, 3, 15, 16, 17, 31, 32, 33, 47, 48, 49, 64, 1022, 1023, 1024, 1025};
  std::mt19937 random(2024);
  for (int width : {1, 5, 16, 17, 33, 100, 1500}) {
    for (int trial = 0; trial < 6; ++trial) {
      const int height = 1 + static_cast<int>(random() % 8);
      TgaBuilder picture(width, height);
      int left = 0, colour = 0;
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, --left) {
          if (left == 0) {
            left = lengths[random() % std::size(lengths)];
            colour = static_cast<int>(random() % 4);
          }
          picture.set(x, y, colours[colour]);
        }
      }
      const Bytes file = picture.descriptor(trial % 2 ? 0 : 32).bytes();
      // The pixels read back from the file in scan order, mapped to codes by hand.
      std::vector<int> expected_codes;
      const bool bottom_up = trial % 2 == 1;
      for (int y = 0; y < height; ++y) {
        const int stored = bottom_up ? height - 1 - y : y;
        for (int x = 0; x < width; ++x) {
          const std::size_t at = 18 + 3 * (static_cast<std::size_t>(stored) * width + x);
          const Colour c{file[at + 2], file[at + 1], file[at]};
          expected_codes.push_back(c == kAir ? 0 : c == kLand ? 1 : c == kWhite ? 7 : 33);
        }
      }
      const Packed packed = pack(picture);
      const std::string row = "width " + std::to_string(width) + ", trial " + std::to_string(trial);
      ASSERT_EQ(packed.bytes, reference_stream(expected_codes)) << row;
      EXPECT_EQ(test::expand_runs(test::decode_stream(packed.bytes).runs), expected_codes) << row;
      EXPECT_EQ(packed.stats.unpacked, std::int64_t{width} * height) << row;
      EXPECT_EQ(packed.stats.packed + 2, static_cast<std::int64_t>(packed.bytes.size())) << row;
    }
  }
}

// Rows after a row of short runs are classified pixel by pixel: noisy rows
// between rows of one colour (runs across row ends and past the length
// limit), and an illegal pixel inside a noisy row, which takes the run walk.
TEST(PackAttributeMap, NoisyRowsGiveThePerPixelStream) {
  const Colour colours[] = {kAir, kLand, kWhite, kCyan};
  const int code_of[] = {0, 1, 7, 33};
  std::mt19937 random(7);
  for (int width : {1, 2, 5, 1500, 5000}) {
    const int height = 7, illegal_x = width / 2, illegal_y = 4;
    TgaBuilder picture(width, height);
    std::vector<int> codes;
    std::array<std::int64_t, 256> histogram{};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        // Rows 1 and 4 have no two equal pixels side by side: a run per pixel.
        const int colour = y % 3 == 2   ? 1
                           : y % 3 == 1 ? (x + y) % 4
                                        : static_cast<int>(random() % 4);
        const bool illegal = x == illegal_x && y == illegal_y;
        picture.set(x, y, illegal ? kIllegal : colours[colour]);
        codes.push_back(illegal ? 0 : code_of[colour]);
        ++histogram[static_cast<std::size_t>(codes.back())];
      }
    }
    const test::ScannedMap scanned = test::scan_map(picture);
    const std::string name = "width " + std::to_string(width);
    EXPECT_EQ(scanned.stream, reference_stream(codes)) << name;
    EXPECT_EQ(scanned.findings->packing.histogram, histogram) << name;
    ASSERT_TRUE(scanned.findings->first_illegal) << name;
    EXPECT_EQ(scanned.findings->first_illegal->x, illegal_x) << name;
    EXPECT_EQ(scanned.findings->first_illegal->y, illegal_y) << name;
  }
}

TEST(PackAttributeMap, SingleDifferingPixelAtEveryColumnCutsTheRun) {
  for (int width : {16, 17, 32, 40}) {
    for (int x = 0; x < width; ++x) {
      TgaBuilder picture(width, 2, kLand);
      picture.set(x, 1, kWhite);
      std::vector<int> codes(static_cast<std::size_t>(2 * width), 1);
      codes[static_cast<std::size_t>(width + x)] = 7;
      EXPECT_EQ(pack(picture).bytes, reference_stream(codes)) << "width " << width << ", x " << x;
    }
  }
}

TEST(PackAttributeMap, WidestRowsRunOnAcrossTheRowEnd) {
  TgaBuilder picture(65535, 3, kLand);
  picture.set(65534, 0, kWhite).set(0, 2, kWhite);
  std::vector<int> codes(3 * 65535, 1);
  codes[65534] = codes[2 * 65535] = 7;
  const Packed packed = pack(picture);
  EXPECT_EQ(packed.bytes, reference_stream(codes));
  EXPECT_EQ(packed.stats.unpacked, 3 * 65535);
}

std::string illegal_question(int red, int green, int blue, int x, int y) {
  return "Illegal color (red:" + std::to_string(red) + ", green:" + std::to_string(green) +
         ", blue:" + std::to_string(blue) + ")\nat coordinates: x=" + std::to_string(x) +
         " y=" + std::to_string(y) + "\nDo you want to continue anyway?\n(all illegal colors " +
         "will be \"air\")";
}

TEST(IllegalColour, AskedOnceAboutTheFirstInScanOrderAndBecomesAirOnYes) {
  for (std::uint8_t descriptor : {0, 32}) {
    TgaBuilder picture(40, 4, kLand);
    for (int x = 20; x < 40; ++x) picture.set(x, 1, kIllegal);
    picture.set(3, 2, kAlsoIllegal).set(39, 3, kIllegal);
    test::ScriptedPrompts prompts;
    prompts.illegal_colour_answers = {true, true};
    WarningList warnings;
    const Packed packed = pack(picture.descriptor(descriptor), prompts, warnings);
    const std::string row = "descriptor " + std::to_string(descriptor);
    ASSERT_EQ(packed.result, ConversionResult::kSuccess) << row;
    ASSERT_EQ(prompts.prompts.size(), 1u) << row;
    EXPECT_EQ(prompts.prompts[0].kind, test::Prompt::Kind::Question) << row;
    EXPECT_EQ(prompts.prompts[0].text, illegal_question(1, 2, 3, 20, 1)) << row;
    EXPECT_EQ(prompts.prompts[0].icon, Icon::None) << row;
    EXPECT_EQ(warnings.texts(), std::vector<std::string>{std::string(warning::kIllegalColours)})
        << row;
    EXPECT_EQ(test::decode_stream(packed.bytes).runs,
              (std::vector<test::Run>{{1, 60}, {0, 20}, {1, 3}, {0, 1}, {1, 75}, {0, 1}}))
        << row;
  }
}

TEST(IllegalColour, NoEndsThePassWithoutTheEndToken) {
  TgaBuilder picture(1100, 1);
  picture.set(1099, 0, kIllegal);
  test::ScriptedPrompts prompts;
  prompts.illegal_colour_answers = {false};
  WarningList warnings;
  const Packed packed = pack(picture, prompts, warnings);
  EXPECT_EQ(packed.result, ConversionResult::kIllegalColours);
  EXPECT_EQ(packed.bytes, Bytes{});  // not even the run already full
  EXPECT_EQ(warnings.count(), 1u);
}

TEST(IllegalColour, NoFailsTheConversionWithoutReportOrLevelFile) {
  TempDir dir;
  test::write_level(dir, "level", TgaBuilder(3, 3).set(1, 2, {9, 9, 9}));
  test::ScriptedPrompts prompts;
  prompts.illegal_colour_answers = {false};
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(dir.prefix("level")), ConversionResult::kIllegalColours);
  EXPECT_FALSE(dir.exists("level.lev"));
  ASSERT_EQ(prompts.prompts.size(), 2u);
  EXPECT_EQ(prompts.prompts[0].text, illegal_question(9, 9, 9, 1, 2));
  EXPECT_EQ(prompts.prompts[1].text,
            "Conversion failed.\nIllegal colors used in attribute map!\nYou should only use "
            "specific\ncolors defined in makelev.txt.\nPlease read makelev.txt");
  EXPECT_EQ(prompts.prompts[1].icon, Icon::Error);
  EXPECT_EQ(prompts.progress, (std::vector<int>{40, 70, 0}));
}

TEST(IllegalColour, AskedAgainInTheNextConversion) {
  TempDir dir;
  test::write_level(dir, "a", TgaBuilder(2, 1, kIllegal));
  test::write_level(dir, "b", TgaBuilder(2, 1, kIllegal));
  test::ScriptedPrompts prompts;
  prompts.illegal_colour_answers = {true, true};
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(dir.prefix("a")), ConversionResult::kSuccess);
  EXPECT_EQ(converter.run_job(dir.prefix("b")), ConversionResult::kSuccess);
  EXPECT_TRUE(prompts.illegal_colour_answers.empty());
  EXPECT_EQ(converter.last().warnings.count(), 1u);
}

}  // namespace
}  // namespace zur
