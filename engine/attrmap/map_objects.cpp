// SPDX-License-Identifier: MIT
#include "engine/attrmap/map_objects.h"

#include <vector>

#include "engine/base/byte_order.h"

namespace zur {
namespace {

ObjectRecord object_of(const MarkerKind& marker, std::uint8_t red, std::uint8_t green) {
  return {0, 0, marker.kind, marker.parameters(red, green)};
}

}  // namespace

std::optional<ObjectRecord> marker_object(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const MarkerKind* marker = marker_kind(blue);
  if (marker == nullptr) return std::nullopt;
  return object_of(*marker, red, green);
}

void place_markers(const MarkerKind& marker, const Rgb& colour, std::int32_t x, std::int32_t y,
                   std::int32_t count, ObjectTable& objects) {
  for (std::int32_t i = 0; i < count && objects.count < kObjectLimit; ++i) {
    ObjectRecord& object = objects.records[objects.count++];
    object = object_of(marker, colour.red, colour.green);
    object.x = x + i;
    object.y = y;
  }
}

std::uint64_t reserve_object_section(LevelFile& out) {
  const std::uint64_t at = out.size();
  const std::array<std::uint8_t, kObjectCountSize> count{};
  out.append(count.data(), count.size());
  return at;
}

void write_object_section(const ObjectTable& objects, std::uint64_t at, LevelFile& out) {
  std::array<std::uint8_t, kObjectCountSize> count{};
  put_le32(count.data(), static_cast<std::uint32_t>(objects.count));
  out.write_at(at, count.data(), count.size());
  std::vector<std::uint8_t> records;
  records.reserve(objects.count * object_field::kRecordSize);
  for (std::size_t i = 0; i < objects.count; ++i) {
    const ObjectRecordBytes record = encode_object_record(objects.records[i]);
    records.insert(records.end(), record.begin(), record.end());
  }
  out.insert(at + count.size(), records.data(), records.size());
}

}  // namespace zur
