// SPDX-License-Identifier: MIT
// Prints the attribute palette and the marker colours from the engine's own
// tables, so that the paint programs' palette file and the guide's colour
// tables can never drift from what the converter accepts.
//   palette_tables gpl     GIMP palette (also read by Krita and Inkscape)
//   palette_tables guide   the colour and marker tables of docs/makelev.txt
#include <cstdio>
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
  const std::string_view what = argc == 2 ? argv[1] : "";
  if (what == "gpl") {
    print_gpl();
  } else if (what == "guide") {
    print_guide_tables();
  } else {
    std::fprintf(stderr, "usage: palette_tables gpl|guide\n");
    return 2;
  }
  return 0;
}
