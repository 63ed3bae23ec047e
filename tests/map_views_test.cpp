// SPDX-License-Identifier: MIT
// What a front end shows of a level's attribute map, over generated maps:
// the check's and the repair's pictures reduced cell by cell against the
// rule worked out pixel by pixel, the check's count of pixels by code and
// single inspected pixels against the converted level file, and the places
// of a colour against a scan of the whole map.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <random>
#include <tuple>

#include "tests/support/level_bytes.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"
#include "zur/check.h"
#include "zur/map_pixel.h"
#include "zur/repair.h"

namespace zur {
namespace {

using MapColour = test::Colour;
using test::TempDir;
using test::TgaBuilder;

// A colour a generated map is painted with: whether it wins its cell (a
// marker or an illegal colour), and its colour in the attributes picture.
struct Ink {
  MapColour colour;
  bool marked;
  MapColour attribute;
};

const std::vector<Ink> kInks = {
    {{0, 0, 0}, false, {0, 0, 0}},     {{0, 152, 0}, false, {0, 152, 0}},
    {{0, 0, 200}, false, {0, 0, 200}}, {{168, 168, 168}, false, {168, 168, 168}},
    {{3, 0, 230}, true, {0, 0, 0}},    // kind 0 on air
    {{0, 0, 180}, true, {0, 152, 0}},  // kind 2, red 0: on basic land
    {{7, 0, 180}, true, {0, 0, 0}},    {{9, 4, 120}, true, {0, 0, 0}},
    {{2, 3, 190}, true, {0, 0, 0}},    {{1, 2, 3}, true, {1, 2, 3}},  // illegal
    {{0, 151, 0}, true, {0, 151, 0}},
};
constexpr std::size_t kLegalInks = 4;
constexpr std::size_t kMarkerInks = 5;

bool illegal_ink(std::size_t ink) {
  return ink >= kLegalInks + kMarkerInks;
}

// Runs of legal colours with a few marked pixels among them, each map
// stored top-down or bottom-up at random.
struct GeneratedMap {
  TgaBuilder map;
  std::vector<std::size_t> inks;  // by y * width + x

  std::size_t at(int x, int y) const { return inks[std::size_t(y * map.width() + x)]; }
};

GeneratedMap generate_map(std::mt19937& random) {
  const int width = std::uniform_int_distribution(1, 37)(random);
  const int height = std::uniform_int_distribution(1, 23)(random);
  GeneratedMap generated{TgaBuilder(width, height), {}};
  generated.map.descriptor(random() % 2 ? 32 : 0);
  std::size_t ink = 0;
  for (int i = 0; i < width * height; ++i) {
    if (random() % 6 == 0) ink = random() % kLegalInks;
    const std::size_t shown =
        random() % 9 == 0 ? kLegalInks + random() % (kInks.size() - kLegalInks) : ink;
    generated.inks.push_back(shown);
    generated.map.set(i % width, i / width, kInks[shown].colour);
  }
  return generated;
}

using Picture = std::vector<std::vector<MapColour>>;  // rows of pixels

class CollectedPicture final : public RowSink {
 public:
  explicit CollectedPicture(std::uint32_t step) : step_(step) {}
  std::uint32_t start(std::uint32_t width, std::uint32_t) override {
    cells_ = (width + step_ - 1) / step_;
    return step_;
  }
  void row(const std::uint8_t* rgb) override {
    std::vector<MapColour>& row = picture.emplace_back();
    for (std::uint32_t x = 0; x < cells_; ++x)
      row.push_back({rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2]});
  }
  bool finish() override { return true; }

  Picture picture;

 private:
  std::uint32_t step_, cells_ = 0;
};

// The rule, pixel by pixel: a cell shows its first marked pixel in row
// order, else its top-left pixel.
Picture reduced(const Picture& whole, const std::function<bool(int, int)>& marked, int step) {
  const int height = int(whole.size()), width = int(whole[0].size());
  Picture cells;
  for (int top = 0; top < height; top += step) {
    std::vector<MapColour>& row = cells.emplace_back();
    for (int left = 0; left < width; left += step) {
      MapColour shown = whole[std::size_t(top)][std::size_t(left)];
      bool found = false;
      for (int y = top; y < std::min(top + step, height) && !found; ++y) {
        for (int x = left; x < std::min(left + step, width) && !found; ++x) {
          if ((found = marked(x, y))) shown = whole[std::size_t(y)][std::size_t(x)];
        }
      }
      row.push_back(shown);
    }
  }
  return cells;
}

struct CheckedPictures {
  Picture mask, attributes;
};

CheckedPictures check_pictures(const std::string& level, std::uint32_t mask_step,
                               std::uint32_t attributes_step) {
  CollectedPicture mask(mask_step), attributes(attributes_step);
  CheckOptions options;
  options.mask_rows = &mask;
  options.attribute_rows = &attributes;
  check_level(level, options);
  return {mask.picture, attributes.picture};
}

constexpr std::array<std::uint32_t, 5> kSteps = {1, 2, 3, 4, 7};

TEST(MapViews, ReducedCheckAndRepairPicturesShowEachCellsFirstMarkedPixel) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 12; ++round) {
    const GeneratedMap generated = generate_map(random);
    TempDir dir;
    test::write_level(dir, "level", generated.map);
    test::write_level(dir, "fixed", TgaBuilder(1, 1));
    const auto marked = [&](int x, int y) { return kInks[generated.at(x, y)].marked; };
    const auto repaired = [&](int x, int y) { return illegal_ink(generated.at(x, y)); };
    // The copy holds no illegal pixel: only its markers win their cells.
    const auto marker = [&](int x, int y) { return marked(x, y) && !repaired(x, y); };
    const CheckedPictures whole = check_pictures(dir.prefix("level"), 1, 1);
    for (int y = 0; y < generated.map.height(); ++y) {
      for (int x = 0; x < generated.map.width(); ++x) {
        ASSERT_EQ(whole.attributes[std::size_t(y)][std::size_t(x)],
                  kInks[generated.at(x, y)].attribute)
            << "round " << round << " at " << x << "," << y;
      }
    }
    for (std::size_t i = 0; i < kSteps.size(); ++i) {
      const std::uint32_t step = kSteps[i], other = kSteps[(i + 1) % kSteps.size()];
      SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step));
      const CheckedPictures cells = check_pictures(dir.prefix("level"), step, step);
      EXPECT_EQ(cells.mask, reduced(whole.mask, marked, int(step)));
      EXPECT_EQ(cells.attributes, reduced(whole.attributes, marked, int(step)));
      // Pictures of different steps have their cells apart.
      const CheckedPictures apart = check_pictures(dir.prefix("level"), step, other);
      EXPECT_EQ(apart.mask, cells.mask);
      EXPECT_EQ(apart.attributes, reduced(whole.attributes, marked, int(other)));

      CollectedPicture after(step), changed(step);
      const RepairResult repair = repair_colours(dir.prefix("level"), dir.prefix("fixed") + ".TGA",
                                                 platform::default_system(), {&after, &changed});
      ASSERT_TRUE(repair.status.ok()) << repair.status.error().text();
      const Picture fixed = check_pictures(dir.prefix("fixed"), 1, 1).attributes;
      Picture changed_whole = fixed;
      for (int y = 0; y < generated.map.height(); ++y) {
        for (int x = 0; x < generated.map.width(); ++x) {
          const Rgb unchanged = kUnchangedColour;
          if (!repaired(x, y)) {
            changed_whole[std::size_t(y)][std::size_t(x)] = {unchanged.red, unchanged.green,
                                                             unchanged.blue};
          }
        }
      }
      EXPECT_EQ(after.picture, reduced(fixed, marker, int(step)));
      EXPECT_EQ(changed.picture, reduced(changed_whole, repaired, int(step)));
    }
  }
}

// What the converted level file holds, a conversion answering yes to the
// illegal colours: the code of each pixel, and the object records by place.
struct ConvertedMap {
  std::vector<int> codes;  // by y * width + x
  std::map<std::pair<int, int>, std::vector<std::uint8_t>> records;
};

ConvertedMap converted_map(const TgaBuilder& map) {
  test::ScriptedPrompts prompts;
  prompts.illegal_colour_answers = {true};
  const test::CompiledParts parts = test::split_level_file(test::convert_map(map, prompts));
  ConvertedMap level{test::expand_runs(test::decode_stream(parts.stream).runs), {}};
  for (std::size_t i = 0; i < test::le32(parts.objects, 0); ++i) {
    const std::vector<std::uint8_t> record = test::object_record(parts.objects, i);
    level.records[{int(test::le32(record, 0)), int(test::le32(record, 4))}] = record;
  }
  return level;
}

TEST(MapViews, CountsByCodeAndInspectedPixelsAreWhatTheLevelFileHolds) {
  std::mt19937 random(77);
  for (int round = 0; round < 8; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const GeneratedMap generated = generate_map(random);
    const int width = generated.map.width(), height = generated.map.height();
    TempDir dir;
    test::write_level(dir, "level", generated.map);
    const ConvertedMap level = converted_map(generated.map);
    ASSERT_EQ(level.codes.size(), std::size_t(width * height));

    const LevelCheck check = check_level(dir.prefix("level"), CheckOptions{});
    ASSERT_TRUE(check.findings);
    std::array<std::uint64_t, kAttributeCodes> expected{};
    std::uint64_t illegal = 0;
    for (std::size_t i = 0; i < level.codes.size(); ++i) {
      if (illegal_ink(generated.inks[i])) {
        ++illegal;
      } else {
        ++expected[std::size_t(level.codes[i])];
      }
    }
    EXPECT_EQ(check.findings->codes, expected);
    EXPECT_EQ(check.findings->illegal_pixels, illegal);
    std::map<std::tuple<int, int, int>, std::uint8_t> nearest;
    for (const IllegalColour& colour : check.findings->illegal_colours) {
      nearest[{colour.colour.red, colour.colour.green, colour.colour.blue}] = colour.nearest_code;
    }

    for (int y = -1; y <= height; ++y) {
      for (int x = -1; x <= width; ++x) {
        const std::optional<MapPixel> pixel = inspect_pixel(dir.prefix("level"), {x, y}, {});
        if (x < 0 || y < 0 || x == width || y == height) {
          EXPECT_FALSE(pixel) << x << "," << y;
          continue;
        }
        ASSERT_TRUE(pixel) << x << "," << y;
        const Ink& ink = kInks[generated.at(x, y)];
        const int code = level.codes[std::size_t(y * width + x)];
        const auto record = level.records.find({x, y});
        EXPECT_EQ((MapColour{pixel->colour.red, pixel->colour.green, pixel->colour.blue}),
                  ink.colour);
        EXPECT_EQ(pixel->illegal, illegal_ink(generated.at(x, y)));
        if (pixel->illegal) {
          EXPECT_FALSE(pixel->code);
          EXPECT_EQ(pixel->nearest,
                    nearest.at({ink.colour.red, ink.colour.green, ink.colour.blue}));
        } else {
          EXPECT_EQ(pixel->code, code) << x << "," << y;
          EXPECT_EQ(pixel->group, palette_colours()[std::size_t(code)].group);
          EXPECT_FALSE(pixel->nearest);
        }
        ASSERT_EQ(pixel->marker.has_value(), record != level.records.end()) << x << "," << y;
        if (pixel->marker) {
          EXPECT_EQ(pixel->marker->kind, record->second[8]);
          EXPECT_TRUE(std::equal(pixel->marker->parameters.begin(), pixel->marker->parameters.end(),
                                 record->second.begin() + 9));
        }
      }
    }
  }
}

TEST(MapViews, PlacesOfAColourAreTheFirstInRowOrderUpToTheLimit) {
  std::mt19937 random(5);
  for (int round = 0; round < 8; ++round) {
    const GeneratedMap generated = generate_map(random);
    TempDir dir;
    test::write_level(dir, "level", generated.map);
    for (std::size_t ink = 0; ink < kInks.size(); ++ink) {
      std::vector<std::pair<int, int>> all;
      for (int y = 0; y < generated.map.height(); ++y) {
        for (int x = 0; x < generated.map.width(); ++x) {
          if (kInks[generated.at(x, y)].colour == kInks[ink].colour) all.emplace_back(x, y);
        }
      }
      for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{3}, all.size()}) {
        const MapColour& c = kInks[ink].colour;
        const std::optional<ColourPlaces> found =
            colour_places(dir.prefix("level"), {c.red, c.green, c.blue}, limit, {});
        ASSERT_TRUE(found);
        std::vector<std::pair<int, int>> places;
        for (const MapPlace& place : found->places) places.emplace_back(place.x, place.y);
        const std::size_t listed = std::min(limit, all.size());
        EXPECT_EQ(places, std::vector(all.begin(), all.begin() + std::ptrdiff_t(listed)))
            << "round " << round << " ink " << ink << " limit " << limit;
        EXPECT_EQ(found->more, all.size() > limit);
      }
    }
  }
  EXPECT_FALSE(colour_places("no-such-level", {0, 0, 0}, 10, {}));
}

}  // namespace
}  // namespace zur
