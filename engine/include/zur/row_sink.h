// SPDX-License-Identifier: MIT
// Where a picture the engine paints goes, one row at a time, so that a map
// of any size needs the memory of a row: a PNG file, or a page's canvas.
#pragma once

#include <cstdint>

namespace zur {

class RowSink {
 public:
  virtual ~RowSink() = default;

  // A picture of width x height pixels (both at least 1) starts. Returns
  // every how many rows the sink keeps one, from the first (1 for every
  // row), or 0 when it takes none.
  virtual std::uint32_t start(std::uint32_t width, std::uint32_t height) = 0;
  // The next row, top first: width red, green, blue triples, valid during
  // the call. Every row comes, kept or not.
  virtual void row(const std::uint8_t* rgb) = 0;
  // Every row has come; false when the picture could not be made.
  virtual bool finish() = 0;
};

}  // namespace zur
