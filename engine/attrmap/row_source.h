// SPDX-License-Identifier: MIT
// The rows of an attribute map, top row of the level first whatever order the
// file stores them in, read a block of whole rows at a time into one buffer
// that every block reuses. A bottom-up file is read block by block from its
// end and each block's rows are handed out in reverse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/attrmap/attribute_map.h"

namespace zur {

inline constexpr std::size_t kMapBlockBytes = std::size_t{1} << 20;

class RowSource {
 public:
  // `map` must outlive the source. A block holds as many whole rows as fit
  // in `block_bytes`, and at least one.
  RowSource(const MapHeader& header, MapBytes& map, std::size_t block_bytes = kMapBlockBytes);

  // False when the buffer could not be allocated.
  bool ready() const { return buffer_ != nullptr; }

  // The next row's width × 3 bytes (blue, green, red per pixel), or null
  // when it cannot be read in full. Call at most height times.
  const std::uint8_t* next_row();

 private:
  bool read_block();

  MapHeader header_;
  MapBytes& map_;
  std::size_t rows_per_block_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::int32_t next_y_ = 0;       // the level row next_row hands out
  std::int32_t block_end_y_ = 0;  // one past the last level row in the buffer
  std::int32_t block_first_y_ = 0;
};

}  // namespace zur
