// SPDX-License-Identifier: MIT
// The picture of a level file's attribute map, as the page shows a dropped
// level file: each pixel in its attribute code's palette colour, painted
// from the packed stream one row at a time, so that a map of any size
// needs the memory of a row; and the objects to mark on it, each in the
// colour the check's mask shows its kind's markers in.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "engine/attrmap/palette.h"
#include "engine/level/level_reader.h"
#include "zur/level_file.h"
#include "zur/row_sink.h"

namespace zur {

// Takes the next row of the picture, top first: width red, green, blue
// triples, valid during the call.
using PictureRow = std::function<void(const std::uint8_t* rgb)>;

// Paints every row of the level read from `file` as `contents`. False, with
// no row painted, when the contents know no map size, the stream is not
// sound, or the map has no pixels.
bool paint_level(std::span<const std::uint8_t> file, const LevelContents& contents,
                 const PictureRow& row);

// The same into a row sink (a PNG file, a page's view). False when there
// is no picture or the sink could not make it.
bool paint_level(std::span<const std::uint8_t> file, const LevelContents& contents, RowSink& sink);

// The objects of the level file that stand on its map, in the file's order.
std::vector<ObjectMark> object_marks(const LevelContents& contents);

}  // namespace zur
