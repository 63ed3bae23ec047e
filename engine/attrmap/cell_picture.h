// SPDX-License-Identifier: MIT
// A picture of a map reduced to the size its row sink asks for: with step s
// each picture pixel stands for a cell of s x s map pixels and shows the
// cell's first marked pixel (row order), else its top-left pixel, so that a
// lone marker or illegal pixel is never lost to the reduction. Painted from
// runs of equal map pixels, a map row at a time, or, reduced, from the
// marked runs and each cell's top-left pixel; a picture row is held.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/attrmap/palette.h"
#include "zur/row_sink.h"

namespace zur {

namespace cell_picture_detail {

inline void paint(std::uint8_t* at, const Rgb& colour) {
  at[0] = colour.red;
  at[1] = colour.green;
  at[2] = colour.blue;
}

}  // namespace cell_picture_detail

class CellPicture {
 public:
  // A map of width x height; a picture needs pixels, so an empty map gives a
  // 1 x 1 picture. `sink` must outlive the picture.
  CellPicture(RowSink& sink, std::int32_t width, std::int32_t height);

  // False when the sink takes no picture.
  bool wanted() const { return step_ != 0; }
  // Pixels x to x + length - 1 of the map row being painted are `colour`;
  // `marked` ones win their cell. Inline, as below a band's first row only a
  // marked pixel can still win a cell: there most runs of a reduced picture
  // paint nothing.
  void run(std::int32_t x, std::int32_t length, const Rgb& colour, bool marked) {
    if (marked || cell_row_ == 0) paint_cells(x, length, colour, marked);
  }
  // Reduced (step 2 or more), a picture needs of the unmarked pixels only
  // its cells' top-left ones: a painter that knows the map row can give
  // them after the row's marked runs (paint_cell) and leave unmarked runs
  // out, rather than walk every run.
  bool reduced() const { return step_ > 1; }
  std::uint32_t step() const { return step_; }
  // True on a band's first map row of a reduced picture, where the cells'
  // top-left pixels lie.
  bool takes_top_lefts() const { return reduced() && cell_row_ == 0 && rows_left_ > 0; }
  // True when a marked pixel of the band has won `cell`.
  bool won(std::uint32_t cell) const { return won_[cell] != 0; }
  // Paints `cell` in `colour`: a top-left pixel's when no marked pixel has
  // won it.
  void paint_cell(std::uint32_t cell, const Rgb& colour) {
    cell_picture_detail::paint(&row_[std::size_t{cell} * 3], colour);
  }
  // The map row is complete.
  void end_row();
  // Gives the picture rows no map row reached in black and ends the
  // picture; false when the sink could not make it.
  bool finish();

 private:
  void paint_cells(std::int32_t x, std::int32_t length, const Rgb& colour, bool marked);
  void give_row();

  RowSink& sink_;
  std::uint32_t step_;             // map pixels a side of a cell; 0 when the sink takes none
  std::vector<std::uint8_t> row_;  // the picture row being painted
  std::vector<std::uint8_t> won_;  // per cell: a marked pixel has won it
  std::uint32_t rows_left_;        // picture rows not yet given
  std::uint32_t cell_row_ = 0;     // the map row's place in its band of cells
};

}  // namespace zur
