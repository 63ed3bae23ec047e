// SPDX-License-Identifier: MIT
// The marker kinds: a pixel whose blue channel holds one of these values
// places a map object of that kind, with parameters taken from the pixel's
// red and green bits. Under the object the level gets the attribute code the
// kind's rule gives, never the marker colour itself. Each rule stands beside
// its inverse, the red and green that give back a record's parameters.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>

#include "engine/attrmap/palette.h"

namespace zur {

using ObjectParameters = std::array<std::uint8_t, 5>;

struct RedGreen {
  std::uint8_t red, green;
};

struct MarkerKind {
  std::uint8_t blue;
  std::uint8_t kind;  // as stored in the object record
  ObjectParameters (*parameters)(std::uint8_t red, std::uint8_t green);
  std::uint8_t (*code_under)(std::uint8_t red);
  // The inverse of `parameters` for the parameters it can give; for others
  // its result does not give them back (see nearest_marker).
  RedGreen (*colour)(const ObjectParameters& parameters);
};

namespace marker_detail {

constexpr std::uint8_t bits(unsigned value, unsigned shift, unsigned mask) {
  return static_cast<std::uint8_t>((value >> shift) & mask);
}

// Kind 0 takes its type from red's low four bits; 6 and above mean type 6.
constexpr std::array<std::uint8_t, 7> kKind0Type = {0, 1, 5, 2, 3, 4, 6};

constexpr std::uint8_t on_air(std::uint8_t) {
  return palette::kAir;
}

// The fields of a parameter byte, each shifted to its place in a channel.
constexpr std::uint8_t join(std::initializer_list<std::pair<std::uint8_t, unsigned>> fields) {
  unsigned value = 0;
  for (const auto& [field, shift] : fields) value |= unsigned{field} << shift;
  return static_cast<std::uint8_t>(value);
}

// The red low bits that select a kind-0 type; every unknown type gives 15,
// which selects type 6.
constexpr std::uint8_t kind0_red_bits(std::uint8_t type) {
  for (std::uint8_t bits = 0; bits < kKind0Type.size(); ++bits) {
    if (kKind0Type[bits] == type) return bits;
  }
  return 15;
}

}  // namespace marker_detail

inline constexpr std::array<MarkerKind, 5> kMarkerKinds = {{
    {230, 0,
     [](std::uint8_t red, std::uint8_t green) -> ObjectParameters {
       using namespace marker_detail;
       return {kKind0Type[std::min(red & 15u, 6u)], bits(red, 4, 15), bits(green, 0, 3),
               bits(green, 2, 63), 0};
     },
     marker_detail::on_air,
     [](const ObjectParameters& p) -> RedGreen {
       using namespace marker_detail;
       return {join({{kind0_red_bits(p[0]), 0}, {p[1], 4}}), join({{p[2], 0}, {p[3], 2}})};
     }},
    {120, 1,
     [](std::uint8_t red, std::uint8_t green) -> ObjectParameters {
       using namespace marker_detail;
       return {bits(red, 0, 127), bits(red, 7, 1), bits(green, 0, 3), bits(green, 2, 3),
               bits(green, 4, 15)};
     },
     marker_detail::on_air,
     [](const ObjectParameters& p) -> RedGreen {
       using namespace marker_detail;
       return {join({{p[0], 0}, {p[1], 7}}), join({{p[2], 0}, {p[3], 2}, {p[4], 4}})};
     }},
    {180, 2,
     [](std::uint8_t red, std::uint8_t green) -> ObjectParameters {
       using namespace marker_detail;
       return {red, bits(green, 0, 7), bits(green, 3, 3), bits(green, 5, 7), 0};
     },
     // Red 0 and 1 stand the object on basic land.
     [](std::uint8_t red) { return red <= 1 ? palette::kBasicLand : palette::kAir; },
     [](const ObjectParameters& p) -> RedGreen {
       using namespace marker_detail;
       return {p[0], join({{p[1], 0}, {p[2], 3}, {p[3], 5}})};
     }},
    {140, 3,
     [](std::uint8_t red, std::uint8_t) -> ObjectParameters {
       return {red, 0, 0, 0, 0};
     },
     marker_detail::on_air,
     [](const ObjectParameters& p) -> RedGreen {
       return {p[0], 0};
     }},
    {190, 4,
     [](std::uint8_t red, std::uint8_t green) -> ObjectParameters {
       using namespace marker_detail;
       return {bits(red, 0, 63), bits(red, 6, 3), green, 0, 0};
     },
     marker_detail::on_air,
     [](const ObjectParameters& p) -> RedGreen {
       using namespace marker_detail;
       return {join({{p[0], 0}, {p[1], 6}}), p[2]};
     }},
}};

namespace marker_detail {

constexpr std::uint8_t kNotAMarker = 0xFF;

// Indexed by blue value: the marker kind's place in kMarkerKinds.
constexpr std::array<std::uint8_t, 256> kKindOfBlue = [] {
  std::array<std::uint8_t, 256> table{};
  table.fill(kNotAMarker);
  for (std::size_t i = 0; i < kMarkerKinds.size(); ++i) {
    table[kMarkerKinds[i].blue] = static_cast<std::uint8_t>(i);
  }
  return table;
}();

}  // namespace marker_detail

// The marker kind a blue value selects, or null. Only the blue channel
// decides; one table look-up, as it runs once per pixel.
inline const MarkerKind* marker_kind(std::uint8_t blue) {
  const std::uint8_t index = marker_detail::kKindOfBlue[blue];
  return index == marker_detail::kNotAMarker ? nullptr : &kMarkerKinds[index];
}

// The marker pixel that places an object of this kind with these
// parameters: exact when its colour gives back exactly these parameters,
// else the nearest the kind's inverse gives. Nothing for a kind no marker has.
struct MarkerColour {
  const MarkerKind* marker;
  Rgb colour;
  bool exact;
};

inline std::optional<MarkerColour> nearest_marker(std::uint8_t kind,
                                                  const ObjectParameters& parameters) {
  for (const MarkerKind& marker : kMarkerKinds) {
    if (marker.kind != kind) continue;
    const RedGreen rg = marker.colour(parameters);
    return MarkerColour{&marker,
                        {rg.red, rg.green, marker.blue},
                        marker.parameters(rg.red, rg.green) == parameters};
  }
  return std::nullopt;
}

}  // namespace zur
