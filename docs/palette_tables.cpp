// SPDX-License-Identifier: MIT
// Prints the attribute palette and the marker colours from the engine's own
// tables, so that the paint programs' palette file and the guide's colour
// tables can never drift from what the converter accepts.
//   palette_tables gpl        GIMP palette (also read by Krita and Inkscape)
//   palette_tables act FILE   Photoshop colour table, written to FILE
//   palette_tables paintnet   Paint.NET palette
//   palette_tables guide      the colour and marker tables of docs/makelev.txt
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"

namespace {

using namespace zur;

std::string_view group_name(ReportGroup group) {
  return group == ReportGroup::kNone ? "-" : report_group_name(group);
}

const char* hint_name(Hint hint) {
  switch (hint) {
    case Hint::kAir:
      return "air";
    case Hint::kIndestructibleWall:
      return "indestructible wall";
    case Hint::kRepair:
      return "repair";
    case Hint::kExplosive:
      return "explosive";
    case Hint::kNone:
      return "-";
  }
  return "-";
}

void print_gpl() {
  std::printf("GIMP Palette\nName: ZUR level attribute map\nColumns: 6\n#\n");
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    const PaletteEntry& entry = kPalette[code];
    std::printf("%3d %3d %3d\tcode %zu", entry.colour.red, entry.colour.green, entry.colour.blue,
                code);
    if (entry.group != ReportGroup::kNone) std::printf(" %s", group_name(entry.group).data());
    if (entry.hint != Hint::kNone) std::printf(" (%s)", hint_name(entry.hint));
    std::printf("\n");
  }
  // A marker's red and green set its object's parameters: these are the
  // kinds' colours with both at zero, a start to adjust.
  for (const MarkerKind& marker : kMarkerKinds) {
    std::printf("%3d %3d %3d\tmarker kind %d\n", 0, 0, marker.blue, marker.kind);
  }
}

// 256 RGB triples, the palette's first and the rest zero, then the number of
// colours used and the transparent colour's index (none), both big-endian.
// Binary, so written to a file rather than to standard output, which
// Windows opens as text.
bool write_act(const char* path) {
  constexpr std::size_t kTableBytes = 256 * 3;
  constexpr std::uint16_t kNoTransparentColour = 0xFFFF;
  std::array<std::uint8_t, kTableBytes + 4> table{};
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    const Rgb& colour = kPalette[code].colour;
    table[code * 3] = colour.red;
    table[code * 3 + 1] = colour.green;
    table[code * 3 + 2] = colour.blue;
  }
  const auto put_be16 = [&](std::size_t at, std::uint16_t value) {
    table[at] = static_cast<std::uint8_t>(value >> 8);
    table[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
  };
  put_be16(kTableBytes, static_cast<std::uint16_t>(kPalette.size()));
  put_be16(kTableBytes + 2, kNoTransparentColour);
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "wb"), std::fclose);
  return file && std::fwrite(table.data(), 1, table.size(), file.get()) == table.size() &&
         std::fflush(file.get()) == 0;
}

// Comment lines, then one colour a line as alpha, red, green, blue in hex.
// Paint.NET takes at most 96 colours.
void print_paintnet() {
  static_assert(kPalette.size() <= 96);
  std::printf(
      "; ZUR level attribute map: the %zu legal colours, by attribute code from 0.\n"
      "; Paint only with these, anti-aliasing off; markers are described in makelev.txt.\n",
      kPalette.size());
  for (const PaletteEntry& entry : kPalette) {
    std::printf("FF%02X%02X%02X\n", entry.colour.red, entry.colour.green, entry.colour.blue);
  }
}

void print_guide_tables() {
  std::printf("  code   red  green  blue  report group   hint\n");
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    const PaletteEntry& entry = kPalette[code];
    std::printf("  %4zu  %4d  %5d  %4d  %-13s  %s\n", code, entry.colour.red, entry.colour.green,
                entry.colour.blue, group_name(entry.group).data(), hint_name(entry.hint));
  }
  std::printf("\n  marker blue  object kind\n");
  for (const MarkerKind& marker : kMarkerKinds) {
    std::printf("  %11d  %11d\n", marker.blue, marker.kind);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view what = argc >= 2 ? argv[1] : "";
  if (argc == 2 && what == "gpl") {
    print_gpl();
  } else if (argc == 2 && what == "paintnet") {
    print_paintnet();
  } else if (argc == 2 && what == "guide") {
    print_guide_tables();
  } else if (argc == 3 && what == "act") {
    if (!write_act(argv[2])) {
      std::perror(argv[2]);
      return 1;
    }
  } else {
    std::fprintf(stderr, "usage: palette_tables gpl|paintnet|guide, palette_tables act FILE\n");
    return 2;
  }
  return 0;
}
