// SPDX-License-Identifier: MIT
// The object section of a level file: a little-endian 32-bit count, then one
// 20-byte record per map object in scan order (by row from the top, then left
// to right): x and y as little-endian 32-bit numbers, y counted from the top
// row, the kind byte and five parameter bytes, then six zero bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/attrmap/marker_kinds.h"
#include "engine/base/byte_order.h"

namespace zur {

inline constexpr std::size_t kObjectLimit = 1024;
inline constexpr std::size_t kObjectCountSize = 4;

namespace object_field {
inline constexpr std::size_t kX = 0;
inline constexpr std::size_t kY = 4;
inline constexpr std::size_t kKind = 8;
inline constexpr std::size_t kParameters = 9;
inline constexpr std::size_t kRecordSize = 20;
}  // namespace object_field

struct ObjectRecord {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint8_t kind = 0;
  ObjectParameters parameters{};
};

using ObjectRecordBytes = std::array<std::uint8_t, object_field::kRecordSize>;

inline ObjectRecordBytes encode_object_record(const ObjectRecord& object) {
  ObjectRecordBytes record{};
  put_le32(&record[object_field::kX], static_cast<std::uint32_t>(object.x));
  put_le32(&record[object_field::kY], static_cast<std::uint32_t>(object.y));
  record[object_field::kKind] = object.kind;
  for (std::size_t i = 0; i < object.parameters.size(); ++i) {
    record[object_field::kParameters + i] = object.parameters[i];
  }
  return record;
}

// The record as stored; encode_object_record gives back the same bytes only
// when the six reserved bytes are zero.
inline ObjectRecord decode_object_record(const std::uint8_t* record) {
  ObjectRecord object;
  object.x = static_cast<std::int32_t>(get_le32(record + object_field::kX));
  object.y = static_cast<std::int32_t>(get_le32(record + object_field::kY));
  object.kind = record[object_field::kKind];
  for (std::size_t i = 0; i < object.parameters.size(); ++i) {
    object.parameters[i] = record[object_field::kParameters + i];
  }
  return object;
}

}  // namespace zur
