// SPDX-License-Identifier: MIT
// Where a picture the engine paints goes, one row at a time, so that a map
// of any size needs the memory of a few rows: a PNG file, or a page's
// canvas. The sink chooses how far the picture is reduced; the engine does
// the reduction.
#pragma once

#include <cstdint>

namespace zur {

class RowSink {
 public:
  virtual ~RowSink() = default;

  // A picture of width x height pixels (both at least 1) starts. Returns
  // the step s it is reduced by (1 for the whole picture), or 0 when the
  // sink takes none. Each pixel the sink then gets stands for a cell of
  // s x s pixels (fewer at the right and bottom edges): the picture's
  // painter says which of the cell's pixels it shows.
  virtual std::uint32_t start(std::uint32_t width, std::uint32_t height) = 0;
  // The next of ceil(height / s) rows, top first: ceil(width / s) red,
  // green, blue triples, valid during the call.
  virtual void row(const std::uint8_t* rgb) = 0;
  // Every row has come; false when the picture could not be made.
  virtual bool finish() = 0;
};

}  // namespace zur
