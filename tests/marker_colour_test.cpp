// SPDX-License-Identifier: MIT
// The public marker colour composer and its reverse: the colour composed for
// what a marker places gives back that, for every marker colour there is.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "zur/palette.h"

namespace zur {
namespace {

using Parameters = std::array<std::uint8_t, 5>;

std::string rgb_text(Rgb c) {
  return "(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " +
         std::to_string(c.blue) + ")";
}

TEST(MarkerColour, EveryMarkerColourRoundTrips) {
  for (const MarkerKindColour& kind : marker_kind_colours()) {
    for (int red = 0; red < 256; ++red) {
      for (int green = 0; green < 256; ++green) {
        const Rgb colour{std::uint8_t(red), std::uint8_t(green), kind.blue};
        const std::optional<MarkerInfo> marker = marker_of(colour);
        ASSERT_TRUE(marker) << rgb_text(colour);
        ASSERT_EQ(marker->kind, kind.kind) << rgb_text(colour);
        const std::optional<Rgb> composed = marker_colour(marker->kind, marker->parameters);
        ASSERT_TRUE(composed) << rgb_text(colour);
        const std::optional<MarkerInfo> again = marker_of(*composed);
        ASSERT_TRUE(again) << rgb_text(colour) << " composed " << rgb_text(*composed);
        ASSERT_EQ(again->kind, marker->kind) << rgb_text(colour);
        ASSERT_EQ(again->parameters, marker->parameters)
            << rgb_text(colour) << " composed " << rgb_text(*composed);
      }
    }
  }
}

TEST(MarkerColour, ComposesOnlyWhatAMarkerCanPlace) {
  const struct {
    const char* what;
    std::uint8_t kind;
    Parameters parameters;
    std::optional<Rgb> colour;
  } cases[] = {
      {"kind 4 as the guide composes it", 4, {10, 1, 200, 0, 0}, Rgb{74, 200, 190}},
      {"kind 0, type 6", 0, {6, 15, 3, 63, 0}, Rgb{6 | 15 << 4, 3 | 63 << 2, 230}},
      {"kind 2 on land", 2, {1, 7, 3, 7, 0}, Rgb{1, 255, 180}},
      {"kind 3 takes one byte", 3, {200, 0, 0, 0, 0}, Rgb{200, 0, 140}},
      {"kind 3 with a second byte", 3, {200, 1, 0, 0, 0}, std::nullopt},
      {"kind 1 with byte 1 past its bit", 1, {0, 2, 0, 0, 0}, std::nullopt},
      {"kind 0 with an unknown type", 0, {7, 0, 0, 0, 0}, std::nullopt},
      {"a fifth byte kind 4 has not", 4, {0, 0, 0, 0, 1}, std::nullopt},
      {"no marker places kind 5", 5, {}, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<Rgb> colour = marker_colour(c.kind, c.parameters);
    ASSERT_EQ(colour.has_value(), c.colour.has_value()) << c.what;
    if (colour) {
      EXPECT_EQ(rgb_text(*colour), rgb_text(*c.colour)) << c.what;
    }
  }
}

TEST(MarkerColour, ColoursThatAreNoMarkerPlaceNothing) {
  for (const PaletteColour& legal : palette_colours()) {
    EXPECT_FALSE(marker_of(legal.colour)) << rgb_text(legal.colour);
  }
  int markers = 0;
  for (int blue = 0; blue < 256; ++blue) markers += marker_of({0, 0, std::uint8_t(blue)}) ? 1 : 0;
  EXPECT_EQ(markers, int(marker_kind_colours().size()));
}

}  // namespace
}  // namespace zur
