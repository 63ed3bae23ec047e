#include "engine/attrmap/map_objects.h"

#include <algorithm>

#include "engine/level/byte_order.h"

namespace zur {
namespace {

constexpr std::array<std::uint8_t, 7> kKind0Type = {0, 1, 5, 2, 3, 4, 6};

// Indexed by a blue value; only the blue channel decides, so a red or green
// byte equal to a marker value must not slow the scan down.
constexpr std::array<bool, 256> kMarkerBlue = [] {
  std::array<bool, 256> table{};
  for (std::uint8_t blue : {230, 120, 180, 140, 190}) table[blue] = true;
  return table;
}();

bool is_marker_value(std::uint8_t blue) {
  return kMarkerBlue[blue];
}

// Records the marker at (x, y), if there is room, and repaints it.
void take_marker(std::uint8_t* pixel, std::int32_t x, std::int32_t y, ObjectTable& objects) {
  const std::uint8_t blue = pixel[0], green = pixel[1], red = pixel[2];
  std::optional<ObjectRecord> object = marker_object(red, green, blue);
  if (objects.count < kObjectLimit) {
    object->x = x;
    object->y = y;
    objects.records[objects.count++] = *object;
  }
  // A kind 2 object with red 0 or 1 stands on basic land; every other object on air.
  const bool on_land = object->kind == 2 && red <= 1;
  pixel[0] = 0;
  pixel[1] = on_land ? 152 : 0;
  pixel[2] = 0;
}

void place_row_objects(std::uint8_t* row, std::int32_t width, std::int32_t y,
                       ObjectTable& objects) {
  for (std::int32_t x = 0; x < width; ++x) {
    std::uint8_t* pixel = row + static_cast<std::size_t>(x) * kBytesPerPixel;
    if (is_marker_value(pixel[0])) take_marker(pixel, x, y, objects);
  }
}

}  // namespace

std::optional<ObjectRecord> marker_object(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  ObjectRecord object;
  auto& p = object.parameters;
  switch (blue) {
    case 230:
      object.kind = 0;
      p = {kKind0Type[std::min(red & 15, 6)], static_cast<std::uint8_t>(red >> 4),
           static_cast<std::uint8_t>(green & 3), static_cast<std::uint8_t>(green >> 2), 0};
      break;
    case 120:
      object.kind = 1;
      p = {static_cast<std::uint8_t>(red & 127), static_cast<std::uint8_t>(red >> 7),
           static_cast<std::uint8_t>(green & 3), static_cast<std::uint8_t>((green >> 2) & 3),
           static_cast<std::uint8_t>(green >> 4)};
      break;
    case 180:
      object.kind = 2;
      p = {red, static_cast<std::uint8_t>(green & 7), static_cast<std::uint8_t>((green >> 3) & 3),
           static_cast<std::uint8_t>(green >> 5), 0};
      break;
    case 140:
      object.kind = 3;
      p = {red, 0, 0, 0, 0};
      break;
    case 190:
      object.kind = 4;
      p = {static_cast<std::uint8_t>(red & 63), static_cast<std::uint8_t>(red >> 6), green, 0, 0};
      break;
    default:
      return std::nullopt;
  }
  return object;
}

void place_map_objects(AttributeMap& map, ObjectTable& objects) {
  objects.count = 0;
  for (std::int32_t y = 0; y < map.height; ++y) {
    place_row_objects(map.row(y), map.width, y, objects);
  }
}

void write_object_section(const ObjectTable& objects, LevelFile& out) {
  std::array<std::uint8_t, 4> count{};
  put_le32(count.data(), static_cast<std::uint32_t>(objects.count));
  out.append(count.data(), count.size());
  for (std::size_t i = 0; i < objects.count; ++i) {
    const ObjectRecord& object = objects.records[i];
    std::array<std::uint8_t, kObjectRecordSize> record{};
    put_le32(&record[0], static_cast<std::uint32_t>(object.x));
    put_le32(&record[4], static_cast<std::uint32_t>(object.y));
    record[8] = object.kind;
    std::copy(object.parameters.begin(), object.parameters.end(), record.begin() + 9);
    out.append(record.data(), record.size());
  }
}

}  // namespace zur
