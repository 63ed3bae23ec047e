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

enum class RepairFailure { kNone, kMemory, kRead, kWrite };

struct MapRepair {
  RepairFailure failure = RepairFailure::kNone;
  std::uint64_t repaired = 0;  // illegal pixels given a legal colour
};

// Hands `sink` the whole file `map` with its illegal pixels repaired, the
// bytes at the offsets they have in `map`; `header` as read from it. An
// illegal pixel takes the palette colour of the attribute code most common
// among its eight neighbours in the source, the lowest on a tie; illegal
// pixels and markers do not vote. With no vote it takes the legal colour
// nearest its own.
// The repair's pictures are painted as the rows are written.
MapRepair repair_map(MapBytes& map, const MapHeader& header, const tga::Sink& sink,
                     const RepairPictures& pictures = {});

// Repairs the attribute map at `path` into the file `out`, which may be none
// of `others`; `out` is put in place only once it is complete.
RepairResult repair_map_file(const std::string& path, const std::string& out,
                             std::span<const std::string> others, platform::System& system,
                             const RepairPictures& pictures = {});

}  // namespace zur
