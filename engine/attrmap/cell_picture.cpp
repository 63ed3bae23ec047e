// SPDX-License-Identifier: MIT
#include "engine/attrmap/cell_picture.h"

#include <algorithm>
#include <cstring>

namespace zur {
namespace {

using cell_picture_detail::paint;

// Paints `pixels` pixels from `at` in `colour`: the first pixel, then what is
// painted copied onto the rest, twice as much each time, so that a long run
// costs a few block copies rather than a store per byte.
void paint_run(std::uint8_t* at, std::size_t pixels, const Rgb& colour) {
  paint(at, colour);
  const std::size_t bytes = pixels * 3;
  for (std::size_t painted = 3; painted < bytes; painted *= 2) {
    std::memcpy(at + painted, at, std::min(painted, bytes - painted));
  }
}

std::uint32_t at_least_one(std::int32_t side) {
  return static_cast<std::uint32_t>(std::max(side, 1));
}

}  // namespace

CellPicture::CellPicture(RowSink& sink, std::int32_t width, std::int32_t height)
    : sink_(sink), step_(sink.start(at_least_one(width), at_least_one(height))) {
  if (step_ == 0) {
    rows_left_ = 0;
    return;
  }
  const std::uint32_t cells = (at_least_one(width) + step_ - 1) / step_;
  row_.assign(std::size_t{cells} * 3, 0);
  won_.assign(cells, 0);
  rows_left_ = (at_least_one(height) + step_ - 1) / step_;
}

void CellPicture::paint_cells(std::int32_t x, std::int32_t length, const Rgb& colour, bool marked) {
  if (rows_left_ == 0 || length <= 0) return;
  if (step_ == 1) {
    paint_run(row_.data() + std::size_t(x) * 3, std::size_t(length), colour);
    return;
  }
  const auto first = static_cast<std::uint32_t>(x);
  const std::uint32_t end = first + static_cast<std::uint32_t>(length);
  for (std::uint32_t cell = first / step_; cell * step_ < end; ++cell) {
    if (won_[cell]) continue;
    // Unmarked, the run gives the cell its top-left pixel only.
    if (!marked && cell * step_ < first) continue;
    paint_cell(cell, colour);
    won_[cell] = marked;
  }
}

void CellPicture::end_row() {
  if (rows_left_ == 0) return;
  if (++cell_row_ == step_) give_row();
}

void CellPicture::give_row() {
  sink_.row(row_.data());
  --rows_left_;
  cell_row_ = 0;
  std::fill(won_.begin(), won_.end(), 0);
}

bool CellPicture::finish() {
  if (step_ == 0) return false;
  // A band the map's last rows began.
  if (cell_row_ != 0) give_row();
  std::fill(row_.begin(), row_.end(), 0);
  while (rows_left_ > 0) give_row();
  return sink_.finish();
}

}  // namespace zur
