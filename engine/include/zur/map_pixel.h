// SPDX-License-Identifier: MIT
// Single pixels of a level's attribute map, for a front end that shows what
// a pixel stands for or steps through the places of a colour. The map is
// found by the check's source lookup and read through its options' system
// (the mask and picture fields are not used); a pixel is read where it
// lies in the file, so that a map of any size costs one read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "zur/check.h"
#include "zur/palette.h"

namespace zur {

struct MapPixel {
  MapPlace place;
  Rgb colour;
  // The code the level file's stream gives the pixel (a marker's: the code
  // it leaves under its object); nothing for an illegal colour.
  std::optional<std::uint8_t> code;
  std::string_view group;  // the code's PaletteColour::group; empty without a code
  bool illegal = false;
  // For an illegal colour: the code of the legal colour nearest it, as the
  // check names it.
  std::optional<std::uint8_t> nearest;
  // For a marker: the object it places, its parameters as the level file's
  // record holds them (a marker past the object limit places none; the
  // check tells those).
  std::optional<MarkerInfo> marker;
};

// The pixel at `place` (y from the top); nothing when it is off the map or
// the map or its header cannot be read.
std::optional<MapPixel> inspect_pixel(std::string_view level, MapPlace place,
                                      const CheckOptions& options);

struct ColourPlaces {
  std::vector<MapPlace> places;  // in row order from the top
  bool more = false;             // the map holds the colour at more places
};

// The first `limit` places of `colour` on the map; nothing when the map
// cannot be read.
std::optional<ColourPlaces> colour_places(std::string_view level, Rgb colour, std::size_t limit,
                                          const CheckOptions& options);

}  // namespace zur
