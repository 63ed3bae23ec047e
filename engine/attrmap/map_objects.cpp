#include "engine/attrmap/map_objects.h"

#include "engine/attrmap/palette.h"
#include "engine/level/byte_order.h"

namespace zur {
namespace {

ObjectRecord object_of(const MarkerKind& marker, std::uint8_t red, std::uint8_t green) {
  return {0, 0, marker.kind, marker.parameters(red, green)};
}

// Records the marker at (x, y), if there is room, and repaints it.
void take_marker(const MarkerKind& marker, std::uint8_t* pixel, std::int32_t x, std::int32_t y,
                 ObjectTable& objects) {
  const std::uint8_t green = pixel[1], red = pixel[2];
  if (objects.count < kObjectLimit) {
    ObjectRecord& object = objects.records[objects.count++];
    object = object_of(marker, red, green);
    object.x = x;
    object.y = y;
  }
  const Rgb under = kPalette[marker.code_under(red)].colour;
  pixel[0] = under.blue;
  pixel[1] = under.green;
  pixel[2] = under.red;
}

void place_row_objects(std::uint8_t* row, std::int32_t width, std::int32_t y,
                       ObjectTable& objects) {
  for (std::int32_t x = 0; x < width; ++x) {
    std::uint8_t* pixel = row + static_cast<std::size_t>(x) * kBytesPerPixel;
    if (const MarkerKind* marker = marker_kind(pixel[0]))
      take_marker(*marker, pixel, x, y, objects);
  }
}

}  // namespace

std::optional<ObjectRecord> marker_object(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const MarkerKind* marker = marker_kind(blue);
  if (marker == nullptr) return std::nullopt;
  return object_of(*marker, red, green);
}

void place_map_objects(AttributeMap& map, ObjectTable& objects) {
  objects.count = 0;
  for (std::int32_t y = 0; y < map.height; ++y) {
    place_row_objects(map.row(y), map.width, y, objects);
  }
}

void write_object_section(const ObjectTable& objects, LevelFile& out) {
  std::array<std::uint8_t, kObjectCountSize> count{};
  put_le32(count.data(), static_cast<std::uint32_t>(objects.count));
  out.append(count.data(), count.size());
  for (std::size_t i = 0; i < objects.count; ++i) {
    const ObjectRecordBytes record = encode_object_record(objects.records[i]);
    out.append(record.data(), record.size());
  }
}

}  // namespace zur
