// SPDX-License-Identifier: MIT
// What sources cannot rebuild, worked out from a level's contents: each
// fact that no source gives back is named once, at its offset, and a level
// the converter could have written has none.
#include "engine/level/level_differences.h"

#include <gtest/gtest.h>

#include <functional>

#include "engine/attrmap/marker_kinds.h"
#include "engine/conversion/level_format.h"
#include "tests/support/listed_findings.h"

namespace zur {
namespace {

using test::listed;

constexpr std::uint64_t kParallaxAt = 962, kRecordAt = 966, kStreamAt = 986;

// What the reader finds in a sound GGLEVEL level with a 4 × 3 map, no
// parallax and one object of kind 2, placed by a marker, at (1, 1).
struct SoundLevel {
  std::array<std::uint8_t, 4> size_section = {4, 0, 3, 0};
  LevelContents level;

  SoundLevel() {
    level.header_complete = true;
    level.gg_level = true;
    level.picture_at = level_format::kHeaderSize;
    level.parallax_at = level.objects_at = kParallaxAt;
    level.picture = std::span<const std::uint8_t>(size_section);
    level.parallax = std::span<const std::uint8_t>();
    level.size_section = MapSize{4, 3};
    level.object_count = 1;
    const MarkerKind& marker = kMarkerKinds[2];
    const ObjectParameters parameters = marker.parameters(1, 5);
    ObjectRecord record;
    record.x = record.y = 1;
    record.kind = marker.kind;
    record.parameters = parameters;
    const std::optional<MarkerColour> colour = nearest_marker(marker.kind, parameters);
    level.objects.push_back({kRecordAt, record, true, colour, marker.code_under(1)});
    level.stream = StreamFacts{};
    level.stream->offset = kStreamAt;
    level.stream->pixels = 12;
    level.stream->ended = true;
    level.map_size = MapSize{4, 3};
    level.map_size_source = MapSizeSource::kSizeSection;
  }
};

TEST(LevelDifferences, ALevelTheConverterWritesHasNone) {
  SoundLevel sound;
  add_differences(sound.level);
  EXPECT_EQ(listed(sound.level.differences), "");
}

TEST(LevelDifferences, EachIsNamedOnceAtItsOffset) {
  const std::array<std::uint8_t, 3> three_bytes = {1, 2, 3};
  const struct {
    std::string what;
    std::function<void(LevelContents&)> change;
    std::uint64_t offset;
    std::string named;
  } cases[] = {
      {"settings",
       [](LevelContents& l) {
         l.settings.differences.push_back({5, "MAKER: why"});
       },
       level_format::kSettingsAt + 5, "MAKER: why"},
      {"gap", [](LevelContents& l) { l.picture_at += 2; }, level_format::kPictureOffsetAt,
       "2 bytes between the header and the level picture section"},
      {"size section", [&](LevelContents& l) { l.picture = three_bytes; },
       level_format::kHeaderSize, "in 4 bytes, not 3"},
      {"parallax", [&](LevelContents& l) { l.parallax = three_bytes; }, kParallaxAt,
       "with PARA no the parallax section should be empty; its 3 bytes"},
      {"empty run", [](LevelContents& l) { l.stream->empty_run_at = 990; }, 990,
       "the run at 990 holds no pixel"},
      {"split run", [](LevelContents& l) { l.stream->split_run_at = 988; }, 988,
       "the run at 988 continues the run before it"},
      {"given width",
       [](LevelContents& l) {
         l.map_size = MapSize{6, 2};
         l.map_size_source = MapSizeSource::kGiven;
       },
       level_format::kHeaderSize, "says 4 × 3; the rebuilt one says 6 × 2"},
      {"reserved", [](LevelContents& l) { l.objects[0].reserved_zero = false; }, kRecordAt,
       "object 1 at (1, 1): its reserved bytes"},
      {"no marker", [](LevelContents& l) { l.objects[0].marker.reset(); }, kRecordAt,
       "kind 2 is no marker kind"},
      {"inexact", [](LevelContents& l) { l.objects[0].marker->exact = false; }, kRecordAt,
       "no marker colour gives kind 2"},
      {"outside", [](LevelContents& l) { l.objects[0].record.x = 4; }, kRecordAt,
       "object 1 at (4, 1): it lies outside the 4 × 3 map"},
      {"code under", [](LevelContents& l) { l.objects[0].code_under = 33; }, kRecordAt,
       "the stream gives its pixel attribute code 33, but its marker leaves code"},
      {"same pixel",
       [](LevelContents& l) {
         l.objects.push_back(l.objects[0]);
         l.objects[1].offset += 20;
       },
       kRecordAt + 20,
       "object 2 at (1, 1): it does not follow the object before it in scan "
       "order; the rebuilt section lists objects by row, then column, and only "
       "one object stands on a pixel"},
  };
  for (const auto& c : cases) {
    SoundLevel changed;
    c.change(changed.level);
    add_differences(changed.level);
    const std::vector<Finding>& found = changed.level.differences;
    ASSERT_EQ(found.size(), 1u) << c.what << listed(found);
    EXPECT_EQ(found[0].offset, c.offset) << c.what;
    EXPECT_NE(found[0].text.find(c.named), std::string::npos) << c.what << listed(found);
    EXPECT_TRUE(changed.level.settings.differences.empty()) << c.what;
  }
}

TEST(LevelDifferences, TheStreamsAreNamedInStreamOrder) {
  for (const bool empty_first : {true, false}) {
    SoundLevel changed;
    changed.level.stream->empty_run_at = empty_first ? 988 : 992;
    changed.level.stream->split_run_at = empty_first ? 990 : 988;
    add_differences(changed.level);
    const std::vector<Finding>& found = changed.level.differences;
    ASSERT_EQ(found.size(), 2u) << listed(found);
    EXPECT_LT(found[0].offset, found[1].offset) << listed(found);
    EXPECT_EQ(found[0].text.find("holds no pixel") != std::string::npos, empty_first);
  }
}

// Without a known map size, nothing is said of where objects stand.
TEST(LevelDifferences, AnUnknownMapSizePlacesNoObject) {
  SoundLevel changed;
  changed.level.map_size.reset();
  changed.level.objects[0].record.x = 40;
  changed.level.objects[0].code_under = 33;
  add_differences(changed.level);
  EXPECT_EQ(listed(changed.level.differences), "");
}

}  // namespace
}  // namespace zur
