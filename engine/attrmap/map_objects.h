// Map objects: pixels whose blue channel holds a marker value place an
// object of the kind that value selects, with settings taken from the
// pixel's red and green. Pass 1 records them and repaints their pixels with
// attribute colours, so that no marker reaches the attribute stream.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "engine/attrmap/attribute_map.h"
#include "engine/level/level_file.h"

namespace zur {

inline constexpr std::size_t kObjectLimit = 1024;
inline constexpr std::size_t kObjectRecordSize = 20;

struct ObjectRecord {
  std::int32_t x = 0;
  std::int32_t y = 0;  // counted from the top row
  std::uint8_t kind = 0;
  std::array<std::uint8_t, 5> parameters{};
};

// The objects in scan order: by row from the top, then left to right.
struct ObjectTable {
  std::array<ObjectRecord, kObjectLimit> records;
  std::size_t count = 0;
};

// The record for a marker pixel with these channels, or nothing when blue is
// not a marker value.
std::optional<ObjectRecord> marker_object(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// Pass 1: fills `objects` from the map's markers and repaints every marker
// pixel. Markers past the object limit are dropped but still repainted.
void place_map_objects(AttributeMap& map, ObjectTable& objects);

// The object count, then each record: 4 + 20 x count bytes.
void write_object_section(const ObjectTable& objects, LevelFile& out);

}  // namespace zur
