// Map objects: pixels whose blue channel holds a marker value place an
// object of the kind that value selects (see marker_kinds.h). Pass 1 records
// them and repaints their pixels with the attribute colour the kind puts
// under the object, so that no marker reaches the attribute stream.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/object_record.h"
#include "engine/level/level_file.h"

namespace zur {

// The objects in scan order: by row from the top, then left to right.
struct ObjectTable {
  std::array<ObjectRecord, kObjectLimit> records;
  std::size_t count = 0;
};

// The record for a marker pixel with these channels, at (0, 0), or nothing
// when blue is not a marker value.
std::optional<ObjectRecord> marker_object(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Pass 1: fills `objects` from the map's markers and repaints every marker
// pixel. Markers past the object limit are dropped but still repainted.
void place_map_objects(AttributeMap& map, ObjectTable& objects);

// The object count, then each record.
void write_object_section(const ObjectTable& objects, LevelFile& out);

}  // namespace zur
