// SPDX-License-Identifier: MIT
// Single pixels of an attribute map: one read at its place in the file,
// whichever way up the rows are stored; and the places of one colour, found
// by reading the rows top first only as far as needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/attrmap/attribute_map.h"
#include "zur/palette.h"

namespace zur {

// The colour of `place`, or nothing when it is off the map or unreadable.
std::optional<Rgb> read_map_pixel(MapBytes& map, const MapHeader& header, MapPlace place);

struct FoundPlaces {
  std::vector<MapPlace> places;  // row order from the top
  bool more = false;             // the map holds the colour at more places
};

// Up to `limit` places of `colour`; nothing when a row cannot be read.
std::optional<FoundPlaces> find_colour_places(MapBytes& map, const MapHeader& header,
                                              const Rgb& colour, std::size_t limit);

}  // namespace zur
