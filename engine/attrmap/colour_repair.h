// SPDX-License-Identifier: MIT
// A copy of an attribute map in which every illegal pixel takes a legal
// colour, chosen from the source alone, so that the order rows are visited in
// does not matter. Only illegal pixels change: the bytes before the pixels
// (header, image-ID field, colour map), legal pixels, markers, the row order
// and any bytes after the pixels are copied as they are. Rows are streamed:
// a few rows are held, whatever the map's size.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/tga.h"
#include "zur/repair.h"

namespace zur {

// The attribute code an illegal pixel of `colour` takes from the codes of
// its neighbours, where a code past the palette's (an illegal pixel, a
// marker, a place off the map) does not vote: the code most of them have,
// the lowest on a tie; with no vote, the legal colour nearest `colour`.
std::uint8_t repair_code(std::span<const std::uint8_t> neighbours, const Rgb& colour);

enum class RepairFailure { kNone, kMemory, kRead, kWrite };

struct MapRepair {
  RepairFailure failure = RepairFailure::kNone;
  std::uint64_t repaired = 0;  // illegal pixels given a legal colour
};

// Hands `sink` the whole file `map` with its illegal pixels repaired, the
// bytes at the offsets they have in `map`; `header` as read from it.
MapRepair repair_map(MapBytes& map, const MapHeader& header, const tga::Sink& sink);

// Repairs the attribute map at `path` into the file `out`, which may be none
// of `others`; `out` is put in place only once it is complete.
RepairResult repair_map_file(const std::string& path, const std::string& out,
                             std::span<const std::string> others);

}  // namespace zur
