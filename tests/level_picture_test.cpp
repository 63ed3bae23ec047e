// SPDX-License-Identifier: MIT
// The picture of a level file: levels converted from generated sources are
// painted back, each pixel in the palette colour of the code its source
// pixel gave the level, and their markers come back as the objects' marks.
#include "engine/level/level_picture.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/attrmap/check_mask.h"
#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/png_file.h"
#include "engine/level/batch.h"
#include "tests/support/level_sources.h"
#include "tests/support/png_reader.h"
#include "tests/support/scripted_prompts.h"
#include "zur/palette.h"

namespace zur {
namespace {

using test::Colour;
using Bytes = std::vector<std::uint8_t>;

struct Generated {
  test::TgaBuilder map{1, 1};
  Bytes expected;                 // rows top first, red, green, blue
  std::vector<ObjectMark> marks;  // as placed, in scan order
};

Colour colour_of(const Rgb& rgb) {
  return {rgb.red, rgb.green, rgb.blue};
}

// Long runs of one palette colour (across row ends too) and markers of
// every kind among them, each marker expected as the code under it.
Generated generate(int width, int height, std::mt19937& random) {
  const auto below = [&](int limit) { return int(random() % unsigned(limit)); };
  Generated level{test::TgaBuilder(width, height), {}, {}};
  std::uint8_t code = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (below(100) < 3) code = std::uint8_t(below(int(kAttributeCodes)));
      Rgb shown = kPalette[code].colour;
      if (below(100) < 2 && level.marks.size() < kObjectLimit) {
        const MarkerKind& kind = kMarkerKinds[std::size_t(below(int(kMarkerKinds.size())))];
        const Rgb marker{std::uint8_t(below(256)), std::uint8_t(below(256)), kind.blue};
        level.map.set(x, y, colour_of(marker));
        level.marks.push_back(
            {x, y, kind.kind, marker_of(marker)->parameters, kMarkerKindColours[kind.kind]});
        shown = kPalette[kind.code_under(marker.red)].colour;
      } else {
        level.map.set(x, y, colour_of(shown));
      }
      level.expected.insert(level.expected.end(), {shown.red, shown.green, shown.blue});
    }
  }
  return level;
}

Bytes convert(const test::TempDir& dir, const test::TgaBuilder& map) {
  test::write_level(dir, "level", map, test::complete_config({{"GGLEVEL", "yes"}}));
  test::ScriptedPrompts prompts;
  Converter converter(prompts, platform::default_system(), [] { return 0u; });
  if (converter.run_job(dir.prefix("level")) != ConversionResult::kSuccess) return {};
  return dir.read("level.lev");
}

void expect_same_marks(const std::vector<ObjectMark>& got, const std::vector<ObjectMark>& placed,
                       const std::string& name) {
  ASSERT_EQ(got.size(), placed.size()) << name;
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(std::tuple(got[i].x, got[i].y, got[i].kind, got[i].parameters),
              std::tuple(placed[i].x, placed[i].y, placed[i].kind, placed[i].parameters))
        << name << " object " << i;
    ASSERT_TRUE(got[i].colour) << name;
    EXPECT_EQ(colour_of(*got[i].colour), colour_of(*placed[i].colour)) << name;
  }
}

TEST(LevelPicture, RowsArePaletteColoursOfTheCodesAndMarksTheObjectsPlaced) {
  std::mt19937 random(20261209);
  const std::pair<int, int> sizes[] = {{1, 1}, {1, 37}, {29, 1}, {5, 300}, {64, 48}, {1500, 3}};
  for (const auto& [width, height] : sizes) {
    const std::string name = std::to_string(width) + " x " + std::to_string(height);
    const Generated level = generate(width, height, random);
    const test::TempDir dir;
    const Bytes file = convert(dir, level.map);
    ASSERT_FALSE(file.empty()) << name;
    const LevelContents contents = read_level(file);
    Bytes painted;
    int rows = 0;
    const std::size_t row_bytes = std::size_t(width) * 3;
    ASSERT_TRUE(paint_level(file, contents, [&](const std::uint8_t* rgb) {
      painted.insert(painted.end(), rgb, rgb + row_bytes);
      ++rows;
    })) << name;
    EXPECT_EQ(rows, height) << name;
    EXPECT_TRUE(painted == level.expected) << name;
    expect_same_marks(object_marks(contents), level.marks, name);

    PngFile png(platform::default_system());
    ASSERT_TRUE(png.open(dir.prefix("picture.png"), {}).ok()) << name;
    ASSERT_TRUE(paint_level(file, contents, png)) << name;
    ASSERT_TRUE(png.close().ok()) << name;
    const std::optional<test::RgbPicture> decoded = test::decode_png(dir.read("picture.png"));
    ASSERT_TRUE(decoded) << name;
    EXPECT_EQ(std::pair(int(decoded->width), int(decoded->height)), std::pair(width, height));
    EXPECT_TRUE(decoded->rgb == level.expected) << name;
  }
}

// Without a known map size, or with a stream cut short, there is no
// picture: nothing is painted.
TEST(LevelPicture, AFileWithoutASoundStreamOrMapSizePaintsNothing) {
  std::mt19937 random(5);
  const test::TempDir dir;
  const Bytes file = convert(dir, generate(16, 16, random).map);
  ASSERT_FALSE(file.empty());
  const Bytes cases[] = {Bytes(file.begin(), file.end() - 5),
                         Bytes(file.begin(), file.begin() + 40), Bytes{}};
  for (const Bytes& cut : cases) {
    int rows = 0;
    EXPECT_FALSE(paint_level(cut, read_level(cut), [&](const std::uint8_t*) { ++rows; }))
        << cut.size();
    EXPECT_EQ(rows, 0) << cut.size();
  }
}

}  // namespace
}  // namespace zur
