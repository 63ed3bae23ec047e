// SPDX-License-Identifier: MIT
#include "engine/attrmap/row_source.h"

#include <algorithm>
#include <new>

namespace zur {

RowSource::RowSource(const MapHeader& header, MapBytes& map, std::size_t block_bytes)
    : header_(header), map_(map) {
  const std::size_t row_bytes = std::max<std::size_t>(header.row_bytes(), 1);
  rows_per_block_ =
      std::clamp<std::size_t>(block_bytes / row_bytes, 1, std::max<std::int32_t>(header.height, 1));
  buffer_.reset(new (std::nothrow) std::uint8_t[rows_per_block_ * row_bytes]);
}

const std::uint8_t* RowSource::next_row() {
  if (next_y_ == block_end_y_ && !read_block()) return nullptr;
  const auto in_block = static_cast<std::size_t>(header_.bottom_up ? block_end_y_ - 1 - next_y_
                                                                   : next_y_ - block_first_y_);
  ++next_y_;
  return buffer_.get() + in_block * header_.row_bytes();
}

// Reads the level rows from next_y_ on: stored in the same order, or, bottom
// up, as the stored rows just before those already read.
bool RowSource::read_block() {
  block_first_y_ = next_y_;
  block_end_y_ = static_cast<std::int32_t>(
      std::min<std::int64_t>(header_.height, next_y_ + std::int64_t(rows_per_block_)));
  const std::int32_t first_stored =
      header_.bottom_up ? header_.height - block_end_y_ : block_first_y_;
  const std::size_t rows = static_cast<std::size_t>(block_end_y_ - block_first_y_);
  return map_.read_at(header_.pixels_at + std::uint64_t(first_stored) * header_.row_bytes(),
                      buffer_.get(), rows * header_.row_bytes());
}

}  // namespace zur
