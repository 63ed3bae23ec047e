// SPDX-License-Identifier: MIT
// The map check's nearest legal colour: least squared distance, and on a tie
// the lower code.
#include "engine/attrmap/map_check.h"

#include <gtest/gtest.h>

namespace zur {
namespace {

TEST(NearestPaletteCode, LeastDistanceAndTheLowerCodeOnATie) {
  const struct {
    Rgb colour;
    int code;
  } cases[] = {
      {{25, 25, 200}, 11},  // as far from 11 (0, 0, 200) as from 13 (50, 50, 200)
      {{75, 75, 200}, 13},  // a tie of 13 and 15
      {{25, 25, 255}, 12},  // a tie of 12 and 14
      {{125, 125, 0}, 20},  // a tie of 20 and 21
      {{0, 151, 0}, 1},    {{60, 60, 60}, 31}, {{120, 50, 60}, 2}, {{0, 76, 0}, 32},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(nearest_palette_code(c.colour), c.code)
        << int(c.colour.red) << ", " << int(c.colour.green) << ", " << int(c.colour.blue);
  }
}

TEST(NearestPaletteCode, EveryLegalColourIsItsOwnNearest) {
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    EXPECT_EQ(nearest_palette_code(kPalette[code].colour), code);
  }
}

}  // namespace
}  // namespace zur
