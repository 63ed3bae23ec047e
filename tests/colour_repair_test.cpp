// SPDX-License-Identifier: MIT
// The repair of illegal colours: the vote of the neighbours on hand-made
// maps, a property over generated maps against a whole-map vote, and the
// files the repair refuses to write.
#include "engine/attrmap/colour_repair.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>

#include "engine/attrmap/map_check.h"
#include "engine/attrmap/row_classifier.h"
#include "engine/attrmap/row_source.h"
#include "tests/support/level_sources.h"
#include "tests/support/system_reasons.h"
#include "zur/repair.h"

namespace zur {
namespace {

using test::Colour;
using test::TempDir;
using test::TgaBuilder;

Rgb rgb(const Colour& c) {
  return {c.red, c.green, c.blue};
}

struct Repaired {
  MapRepair repair;
  std::vector<std::uint8_t> file;
};

// A byte the repair does not write keeps the complement of the source's.
Repaired repair_in_memory(const std::vector<std::uint8_t>& source) {
  MapMemory map(source);
  MapHeader header;
  EXPECT_EQ(read_map_header(map, header), ConversionResult::kSuccess);
  Repaired repaired{{}, source};
  for (std::uint8_t& byte : repaired.file) byte = std::uint8_t(~byte);
  repaired.repair = repair_map(map, header, [&](std::uint64_t offset, auto bytes) {
    if (offset + bytes.size() > source.size()) {
      ADD_FAILURE() << "written past the end at " << offset;
      return false;
    }
    std::copy(bytes.begin(), bytes.end(), repaired.file.begin() + std::ptrdiff_t(offset));
    return true;
  });
  return repaired;
}

// '.' air, 'L' basic land, 'W' water (code 11), 'x' and 'y' illegal (nearest
// air and basic land), 'M' a marker that stands its object on basic land.
const std::map<char, Colour> kLegend = {
    {'.', {0, 0, 0}}, {'L', {0, 152, 0}}, {'W', {0, 0, 200}},
    {'x', {1, 2, 3}}, {'y', {0, 151, 0}}, {'M', {0, 0, 180}},
};

TgaBuilder map_of(const std::vector<std::string>& rows) {
  TgaBuilder map(int(rows.front().size()), int(rows.size()));
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (std::size_t x = 0; x < rows[y].size(); ++x)
      map.set(int(x), int(y), kLegend.at(rows[y][x]));
  }
  return map;
}

TEST(ColourRepair, IllegalPixelsTakeTheVoteOfTheirNeighboursInTheSource) {
  const struct {
    const char* name;
    std::vector<std::string> source, repaired;
  } cases[] = {
      {"majority of eight", {"LLW", "WxL", "LWL"}, {"LLW", "WLL", "LWL"}},
      {"a tie goes to the lowest code", {"WLW", "LxL", "WLW"}, {"WLW", "LLL", "WLW"}},
      {"no legal neighbour: nearest colour", {"xxx", "xyx", "xxx"}, {"...", ".L.", "..."}},
      {"markers do not vote", {"MMM", "MxM", "MML"}, {"MMM", "MLM", "MML"}},
      {"markers only: nearest colour", {"MM", "Mx"}, {"MM", "M."}},
      {"a corner has three neighbours", {"xW", "WL"}, {"WW", "WL"}},
      {"an edge has five neighbours", {"LxW", "WWL"}, {"LWW", "WWL"}},
      {"one column", {"L", "x", "W"}, {"L", "L", "W"}},
      {"repaired pixels do not vote", {"xxL", "WWL"}, {"WLL", "WWL"}},
  };
  for (const auto& c : cases) {
    for (const std::uint8_t descriptor : {tga::kDescriptorTopDown, tga::kDescriptorBottomUp}) {
      const Repaired repaired = repair_in_memory(map_of(c.source).descriptor(descriptor).bytes());
      const std::string row = std::string(c.name) + ", descriptor " + std::to_string(descriptor);
      EXPECT_EQ(repaired.repair.failure, RepairFailure::kNone) << row;
      EXPECT_EQ(repaired.file, map_of(c.repaired).descriptor(descriptor).bytes()) << row;
    }
  }
}

// The rule over the whole map at once, in level coordinates.
std::vector<Colour> voted(const std::vector<Colour>& pixels, int width, int height) {
  std::vector<Colour> repaired = pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb colour = rgb(pixels[std::size_t(y * width + x)]);
      if (classify_pixel(colour).legal) continue;
      std::array<int, kAttributeCodes> votes{};
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
          const std::optional<std::uint8_t> code =
              classify_colour(rgb(pixels[std::size_t(ny * width + nx)]));
          if (code) ++votes[*code];
        }
      }
      const auto most = std::max_element(votes.begin(), votes.end());
      const std::size_t code =
          *most > 0 ? std::size_t(most - votes.begin()) : nearest_palette_code(colour);
      const Rgb& legal = kPalette[code].colour;
      repaired[std::size_t(y * width + x)] = {legal.red, legal.green, legal.blue};
    }
  }
  return repaired;
}

MapCheckFindings checked(std::span<const std::uint8_t> file) {
  MapMemory map(file);
  MapHeader header;
  EXPECT_EQ(read_map_header(map, header), ConversionResult::kSuccess);
  RowSource rows(header, map);
  MapChecker checker;
  for (std::int32_t y = 0; y < header.height; ++y) {
    classify_row(rows.next_row(), header.width,
                 [&](std::int32_t x, std::int32_t length, const Rgb& colour,
                     const PixelClass& pixel) { checker.run(x, length, colour, pixel); });
    checker.end_row();
  }
  return checker.finish();
}

TEST(ColourRepair, RepairedMapsHoldNoIllegalColourAndChangeNothingElse) {
  std::mt19937 random(20261209);
  const auto below = [&](int end) { return int(random() % unsigned(end)); };
  const auto any_byte = [&] { return std::uint8_t(random()); };
  for (int round = 0; round < 300; ++round) {
    const int width = 1 + below(12), height = 1 + below(12);
    std::vector<Colour> pixels;
    for (int i = 0; i < width * height; ++i) {
      const int kind = below(10);
      Colour colour;
      if (kind < 5) {
        const Rgb& legal = kPalette[std::size_t(below(int(kAttributeCodes)))].colour;
        colour = {legal.red, legal.green, legal.blue};
      } else if (kind < 8) {
        do colour = {any_byte(), any_byte(), any_byte()};
        while (classify_pixel(rgb(colour)).legal);
      } else {
        colour = {any_byte(), any_byte(), kMarkerKinds[std::size_t(below(5))].blue};
      }
      pixels.push_back(colour);
    }
    TgaBuilder map(width, height);
    map.descriptor(below(2) ? tga::kDescriptorTopDown : tga::kDescriptorBottomUp)
        .id_length(std::uint8_t(below(3) * 7));
    if (below(2)) map.colour_map(std::uint16_t(1 + below(4)), below(2) ? 24 : 15);
    TgaBuilder expected_map = map;
    const std::vector<Colour> expected_pixels = voted(pixels, width, height);
    for (int i = 0; i < width * height; ++i) {
      map.set(i % width, i / width, pixels[std::size_t(i)]);
      expected_map.set(i % width, i / width, expected_pixels[std::size_t(i)]);
    }
    std::vector<std::uint8_t> source = map.bytes(), expected = expected_map.bytes();
    for (int extra = below(3) * 5; extra > 0; --extra) {
      source.push_back(any_byte());
      expected.push_back(source.back());
    }
    const std::string row = "round " + std::to_string(round);

    const Repaired repaired = repair_in_memory(source);
    ASSERT_EQ(repaired.repair.failure, RepairFailure::kNone) << row;
    // Header, image-ID field, colour map, legal pixels, markers and the bytes
    // after the pixels are the source's.
    EXPECT_EQ(repaired.file, expected) << row;
    const MapCheckFindings before = checked(source), after = checked(repaired.file);
    EXPECT_EQ(repaired.repair.repaired, before.illegal_pixels) << row;
    EXPECT_EQ(after.illegal_pixels, 0u) << row;
    EXPECT_EQ(after.objects_by_kind, before.objects_by_kind) << row;
  }
}

TEST(RepairColours, RefusesWhatItCannotReadOrMayNotWrite) {
  TempDir dir;
  const TgaBuilder map = TgaBuilder(3, 3).set(1, 1, {1, 2, 3});
  test::write_level(dir, "level", map);
  test::write_level(dir, "deep", TgaBuilder(2, 2).bits_per_pixel(32));
  const auto path = [&](const char* name) { return dir.prefix(name); };
  const auto same = [&](const char* name) {
    return "cannot write " + path(name) + ": it is the same file as " + path(name);
  };
  const struct {
    const char *level, *out;
    std::string error;
  } cases[] = {
      {"level", "level.TGA", same("level.TGA")},
      {"level", "level.TXT", same("level.TXT")},
      {"level", "level.JPG", same("level.JPG")},
      {"level", "level.lev", same("level.lev")},
      {"none", "out.tga", "cannot read " + path("none.tga") + ": " + test::file_missing_reason()},
      {"deep", "out.tga", "cannot repair " + path("deep.TGA") + ": not 24 bits per pixel"},
  };
  for (const auto& c : cases) {
    const std::vector<std::uint8_t> config = dir.read("level.TXT"), picture = dir.read("level.JPG");
    const RepairResult result = repair_colours(path(c.level), path(c.out));
    ASSERT_FALSE(result.status.ok()) << c.out;
    EXPECT_EQ(result.status.text(), c.error) << c.out;
    EXPECT_EQ(dir.read("level.TGA"), map.bytes()) << c.out;
    EXPECT_EQ(dir.read("level.TXT"), config) << c.out;
    EXPECT_EQ(dir.read("level.JPG"), picture) << c.out;
    EXPECT_FALSE(dir.exists("level.lev")) << c.out;
    EXPECT_FALSE(dir.exists("out.tga")) << c.out;
  }
}

}  // namespace
}  // namespace zur
