// SPDX-License-Identifier: MIT
// The palette files the build writes for paint programs, read back as each
// program reads them: every one holds the palette's colours in code order.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "tests/support/level_sources.h"

namespace zur {
namespace {

struct Colour {
  int red, green, blue;
  bool operator==(const Colour&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Colour& c) {
  return out << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

std::vector<Colour> table_colours() {
  std::vector<Colour> colours;
  for (const PaletteEntry& entry : kPalette) {
    colours.push_back({entry.colour.red, entry.colour.green, entry.colour.blue});
  }
  return colours;
}

std::string palette_file(const std::string& name) {
  return test::read_whole(std::string(ZUR_PALETTE_DIR) + "/" + name);
}

// Lines without their ends, LF or CR LF.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(PaletteFiles, PhotoshopTableHoldsThePaletteThenZerosAndItsCount) {
  const std::string act = palette_file("zurconv.act");
  ASSERT_EQ(act.size(), 768u + 4u);
  const auto byte = [&](std::size_t at) { return int(static_cast<std::uint8_t>(act[at])); };
  std::vector<Colour> colours;
  for (std::size_t at = 0; at < 768; at += 3)
    colours.push_back({byte(at), byte(at + 1), byte(at + 2)});
  std::vector<Colour> expected = table_colours();
  expected.resize(256, Colour{0, 0, 0});
  EXPECT_EQ(colours, expected);
  EXPECT_EQ(byte(768) << 8 | byte(769), int(kPalette.size())) << "colours used";
  EXPECT_EQ(byte(770) << 8 | byte(771), 0xFFFF) << "no transparent colour";
}

TEST(PaletteFiles, PaintNetPaletteHoldsCommentsThenOpaqueColours) {
  std::vector<Colour> colours;
  bool in_colours = false;
  for (const std::string& line : lines_of(palette_file("zurconv-paintnet.txt"))) {
    if (!in_colours && line.starts_with(';')) continue;
    in_colours = true;
    ASSERT_EQ(line.size(), 8u) << line;
    ASSERT_EQ(line.find_first_not_of("0123456789ABCDEF"), std::string::npos) << line;
    EXPECT_EQ(line.substr(0, 2), "FF") << line;
    const unsigned long value = std::stoul(line, nullptr, 16);
    colours.push_back({int(value >> 16 & 0xFF), int(value >> 8 & 0xFF), int(value & 0xFF)});
  }
  EXPECT_LE(colours.size(), 96u);
  EXPECT_EQ(colours, table_colours());
}

TEST(PaletteFiles, GimpPaletteHoldsThePaletteThenTheMarkerKinds) {
  const std::vector<std::string> lines = lines_of(palette_file("zurconv.gpl"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "GIMP Palette");
  std::vector<Colour> colours;
  std::vector<std::string> names;
  for (const std::string& line : lines) {
    std::istringstream in(line);
    Colour colour;
    std::string name;
    if (!(in >> colour.red >> colour.green >> colour.blue)) continue;
    std::getline(in >> std::ws, name);
    colours.push_back(colour);
    names.push_back(name);
  }
  std::vector<Colour> expected = table_colours();
  std::vector<std::string> expected_names;
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    expected_names.push_back("code " + std::to_string(code));
  }
  for (const MarkerKind& marker : kMarkerKinds) {
    expected.push_back({0, 0, marker.blue});
    expected_names.push_back("marker kind " + std::to_string(marker.kind));
  }
  EXPECT_EQ(colours, expected);
  ASSERT_EQ(names.size(), expected_names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_TRUE(names[i] == expected_names[i] || names[i].starts_with(expected_names[i] + " "))
        << names[i];
  }
}

}  // namespace
}  // namespace zur
