// SPDX-License-Identifier: MIT
// Map objects: pixels whose blue channel holds a marker value place an
// object of the kind that value selects (see marker_kinds.h), one per pixel.
// Under each object the level gets the code the kind's rule gives, so that no
// marker reaches the attribute stream.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/attrmap/object_record.h"
#include "engine/attrmap/palette.h"
#include "engine/conversion/level_file.h"

namespace zur {

// The objects in scan order: by row from the top, then left to right.
struct ObjectTable {
  std::array<ObjectRecord, kObjectLimit> records;
  std::size_t count = 0;
};

// The record for a marker pixel with these channels, at (0, 0), or nothing
// when blue is not a marker value.
std::optional<ObjectRecord> marker_object(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Records the `count` marker pixels of this kind and colour from (x, y)
// rightwards, as far as the object limit leaves room; the rest are dropped.
void place_markers(const MarkerKind& marker, const Rgb& colour, std::int32_t x, std::int32_t y,
                   std::int32_t count, ObjectTable& objects);

// The object section is known only once the whole map is read, after the
// packed stream that follows it is written: its place is reserved at the
// end of `out`, then the section is written there, the stream moved on by
// its records (by nothing for a map without objects). Returns the place.
std::uint64_t reserve_object_section(LevelFile& out);

// The object count, then each record, at the place reserved.
void write_object_section(const ObjectTable& objects, std::uint64_t at, LevelFile& out);

}  // namespace zur
