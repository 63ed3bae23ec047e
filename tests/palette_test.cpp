// SPDX-License-Identifier: MIT
#include "engine/attrmap/palette.h"

#include <gtest/gtest.h>

#include <vector>

namespace zur {
namespace {

// The legal colours, written out here by attribute code.
constexpr Rgb kColours[] = {
    {0, 0, 0},       {0, 152, 0},     {126, 48, 59},   {77, 77, 77},    {168, 168, 168},
    {160, 0, 0},     {227, 0, 0},     {255, 255, 255}, {189, 120, 65},  {133, 84, 45},
    {255, 169, 96},  {0, 0, 200},     {0, 0, 255},     {50, 50, 200},   {50, 50, 255},
    {100, 100, 200}, {100, 100, 255}, {150, 150, 200}, {150, 150, 255}, {50, 50, 0},
    {100, 100, 0},   {150, 150, 0},   {200, 200, 0},   {250, 250, 0},   {0, 152, 100},
    {126, 48, 159},  {160, 0, 100},   {168, 168, 255}, {168, 255, 156}, {124, 178, 117},
    {86, 122, 81},   {58, 78, 55},    {0, 100, 0},     {0, 255, 255},
};
static_assert(std::size(kColours) == 34);

std::string describe(Rgb c) {
  std::string text = "(";
  text += std::to_string(c.red) + ", " + std::to_string(c.green) + ", ";
  return text + std::to_string(c.blue) + ")";
}

TEST(ClassifyColour, EveryLegalColourGivesItsCode) {
  for (std::size_t code = 0; code < std::size(kColours); ++code) {
    EXPECT_EQ(classify_colour(kColours[code]), std::optional<std::uint8_t>(code))
        << "code " << code << " " << describe(kColours[code]);
  }
}

TEST(ClassifyColour, ColoursOneStepAwayAreIllegal) {
  for (std::size_t code = 0; code < std::size(kColours); ++code) {
    const Rgb c = kColours[code];
    for (int channel = 0; channel < 3; ++channel) {
      for (int step : {-1, 1}) {
        Rgb near = c;
        std::uint8_t& value = channel == 0 ? near.red : channel == 1 ? near.green : near.blue;
        value = static_cast<std::uint8_t>(value + step);
        bool legal = false;
        for (const Rgb& other : kColours) {
          legal |= other.red == near.red && other.green == near.green && other.blue == near.blue;
        }
        if (!legal) {
          EXPECT_FALSE(classify_colour(near)) << describe(near) << " near code " << code;
        }
      }
    }
  }
  EXPECT_FALSE(classify_colour({0, 152, 1}));
}

TEST(ClassifyColour, NoColourWithAMarkerBlueIsLegal) {
  for (int blue : {120, 140, 180, 190, 230}) {
    for (int red = 0; red < 256; ++red) {
      for (int green = 0; green < 256; ++green) {
        const Rgb c{std::uint8_t(red), std::uint8_t(green), std::uint8_t(blue)};
        ASSERT_FALSE(classify_colour(c)) << describe(c);
      }
    }
  }
}

// Every one of the 2^24 colours against a plain lookup in the table above.
TEST(ClassifyColour, AgreesWithTheTableForEveryColour) {
  std::vector<int> expected(std::size_t{1} << 24, -1);
  for (std::size_t code = 0; code < std::size(kColours); ++code) {
    const Rgb c = kColours[code];
    expected[(std::size_t{c.red} << 16) | (std::size_t{c.green} << 8) | c.blue] =
        static_cast<int>(code);
  }
  int mismatches = 0;
  for (std::size_t key = 0; key < expected.size(); ++key) {
    const Rgb c{std::uint8_t(key >> 16), std::uint8_t(key >> 8), std::uint8_t(key)};
    const std::optional<std::uint8_t> code = classify_colour(c);
    const int got = code ? *code : -1;
    if (got != expected[key] && ++mismatches <= 5) {
      ADD_FAILURE() << describe(c) << " gives " << got << ", not " << expected[key];
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(Palette, TableHoldsEachCodesColour) {
  ASSERT_EQ(kPalette.size(), std::size(kColours));
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    EXPECT_EQ(describe(kPalette[code].colour), describe(kColours[code])) << "code " << code;
  }
}

}  // namespace
}  // namespace zur
