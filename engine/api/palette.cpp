// SPDX-License-Identifier: MIT
// The palette and the marker kinds as data, from the tables the compiler
// reads.
#include "zur/palette.h"

#include <array>

#include "engine/attrmap/check_mask.h"
#include "engine/attrmap/map_objects.h"
#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"

namespace zur {
namespace {

constexpr std::array<PaletteColour, kAttributeCodes> kColours = [] {
  std::array<PaletteColour, kAttributeCodes> colours{};
  for (std::size_t code = 0; code < kAttributeCodes; ++code) {
    colours[code] = {static_cast<std::uint8_t>(code), kPalette[code].colour,
                     report_group_name(kPalette[code].group)};
  }
  return colours;
}();

constexpr std::array<MarkerKindColour, kMarkerKinds.size()> kKinds = [] {
  std::array<MarkerKindColour, kMarkerKinds.size()> kinds{};
  for (std::size_t i = 0; i < kMarkerKinds.size(); ++i) {
    const MarkerKind& kind = kMarkerKinds[i];
    kinds[i] = {kind.kind, kind.blue, kMarkerKindColours[kind.kind]};
  }
  return kinds;
}();

}  // namespace

std::span<const PaletteColour> palette_colours() {
  return kColours;
}

std::span<const MarkerKindColour> marker_kind_colours() {
  return kKinds;
}

std::optional<Rgb> marker_colour(std::uint8_t kind, std::array<std::uint8_t, 5> parameters) {
  const std::optional<MarkerColour> marker = nearest_marker(kind, parameters);
  if (!marker || !marker->exact) return std::nullopt;
  return marker->colour;
}

std::optional<MarkerInfo> marker_of(Rgb colour) {
  const std::optional<ObjectRecord> object = marker_object(colour.red, colour.green, colour.blue);
  if (!object) return std::nullopt;
  return MarkerInfo{object->kind, object->parameters};
}

}  // namespace zur
