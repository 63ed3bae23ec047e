// SPDX-License-Identifier: MIT
// Repairing a level's illegal colours: a copy of its attribute map, written
// to a file of the caller's choice, in which every illegal pixel takes the
// legal colour most common around it. The source is never changed, and the
// copy may not be written over any file the level is made of or made into.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "zur/error.h"
#include "zur/palette.h"
#include "zur/row_sink.h"
#include "zur/system.h"

namespace zur {

struct RepairResult {
  std::string map;             // the attribute map read, as the source lookup found it
  std::string out;             // the copy, as given
  std::uint64_t repaired = 0;  // illegal pixels given a legal colour
  Status status;               // why the copy was not written, when it was not; nothing was then
};

// The colour the `changed` picture shows an unchanged pixel in: no palette
// colour, so no repaired pixel has it.
inline constexpr Rgb kUnchangedColour = {255, 0, 255};

// Pictures of the repair, painted as the copy is written (null for one not
// wanted), both of the map's size and reduced as their sinks ask.
struct RepairPictures {
  // The copy, as CheckOptions::attribute_rows paints a map.
  RowSink* after = nullptr;
  // Each repaired pixel in its new colour, every other pixel
  // kUnchangedColour; reduced, a cell shows its first repaired pixel (row
  // order), else its top-left pixel.
  RowSink* changed = nullptr;
};

// Repairs the attribute map of the level named as zurconv takes an argument
// into `out`. In the copy an illegal pixel takes the palette colour of the
// attribute code most common among its eight neighbours in the source (the
// lowest code on a tie; illegal pixels and object markers do not vote), or,
// when none votes, the legal colour nearest its own. Every other byte of the
// file (header, image-ID field, colour map, legal pixels, markers, row order)
// is copied as it is. Files are read and written through `system`.
RepairResult repair_colours(std::string_view level, const std::string& out,
                            platform::System& system = platform::default_system(),
                            const RepairPictures& pictures = {});

// "OUT: N illegal pixels of MAP repaired", for a repair without an error.
std::string repair_text(const RepairResult& result);

}  // namespace zur
