// SPDX-License-Identifier: MIT
// The attribute palette and the marker kinds as data, for front ends that
// show them (a legend, a palette file): every legal attribute map colour
// with its code and report group, the blue values that place objects, and
// the marker colour for an object and the object for a colour.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zur {

struct Rgb {
  std::uint8_t red, green, blue;
};

// The attribute codes are 0 to kAttributeCodes - 1.
inline constexpr std::size_t kAttributeCodes = 34;

// The widest and tallest attribute map a level can have.
inline constexpr std::uint32_t kMaxMapSide = 0xFFFF;

// A pixel of an attribute map.
struct MapPlace {
  std::int32_t x = 0;
  std::int32_t y = 0;  // from the top row
};

struct PaletteColour {
  std::uint8_t code;  // the attribute code, 0 to 33
  Rgb colour;
  std::string_view group;  // the report's statistics line that counts it, or "Other"
};

// Every legal colour, by code.
std::span<const PaletteColour> palette_colours();

struct MarkerKindColour {
  std::uint8_t kind;  // the object kind it places
  std::uint8_t blue;  // the blue value of its markers
  Rgb shown;          // its markers' colour in the check's mask
};

std::span<const MarkerKindColour> marker_kind_colours();

// What a marker pixel places: an object of this kind with these parameter
// bytes, as the level's object record holds them.
struct MarkerInfo {
  std::uint8_t kind = 0;
  std::array<std::uint8_t, 5> parameters{};
};

// The colour to paint for an object of this kind with these parameter
// bytes; nothing for a kind no marker places, or parameters no colour of its
// markers gives (a byte past its field's width, say).
std::optional<Rgb> marker_colour(std::uint8_t kind, std::array<std::uint8_t, 5> parameters);

// What a pixel of this colour places, as the conversion reads it; nothing
// for a colour that is no marker.
std::optional<MarkerInfo> marker_of(Rgb colour);

}  // namespace zur
