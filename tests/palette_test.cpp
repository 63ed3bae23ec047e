// SPDX-License-Identifier: MIT
#include "engine/attrmap/palette.h"

#include <gtest/gtest.h>

#include <vector>

namespace zur {
namespace {

// The palette's values are checked against the designer's guide, which
// writes the table out by hand (the guide_colour_tables test); these tests
// hold the lookup to whatever the table says.
Rgb colour_of(std::size_t code) {
  return kPalette[code].colour;
}

bool same(Rgb a, Rgb b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

std::string describe(Rgb c) {
  std::string text = "(";
  text += std::to_string(c.red) + ", " + std::to_string(c.green) + ", ";
  return text + std::to_string(c.blue) + ")";
}

TEST(ClassifyColour, EveryLegalColourGivesItsCode) {
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    EXPECT_EQ(classify_colour(colour_of(code)), std::optional<std::uint8_t>(code))
        << "code " << code << " " << describe(colour_of(code));
  }
}

TEST(ClassifyColour, ColoursOneStepAwayAreIllegal) {
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    const Rgb c = colour_of(code);
    for (int channel = 0; channel < 3; ++channel) {
      for (int step : {-1, 1}) {
        Rgb near = c;
        std::uint8_t& value = channel == 0 ? near.red : channel == 1 ? near.green : near.blue;
        value = static_cast<std::uint8_t>(value + step);
        bool legal = false;
        for (const PaletteEntry& other : kPalette) legal |= same(other.colour, near);
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

// Every one of the 2^24 colours against a plain lookup in the table.
TEST(ClassifyColour, AgreesWithTheTableForEveryColour) {
  std::vector<int> expected(std::size_t{1} << 24, -1);
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    const Rgb c = colour_of(code);
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

TEST(Palette, EachColourNamesOneCode) {
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    for (std::size_t other = code + 1; other < kPalette.size(); ++other) {
      EXPECT_FALSE(same(colour_of(code), colour_of(other)))
          << "codes " << code << " and " << other << " share " << describe(colour_of(code));
    }
  }
}

}  // namespace
}  // namespace zur
