// SPDX-License-Identifier: MIT
#include "engine/level/level_picture.h"

#include <algorithm>

#include "engine/attrmap/check_mask.h"

namespace zur {

namespace {

// The size of the picture, when there is one to paint.
std::optional<MapSize> picture_size(std::span<const std::uint8_t> file,
                                    const LevelContents& contents) {
  if (!contents.map_size || stream_bytes(file, contents).empty()) return std::nullopt;
  if (contents.map_size->width == 0 || contents.map_size->height == 0) return std::nullopt;
  return contents.map_size;
}

}  // namespace

bool paint_level(std::span<const std::uint8_t> file, const LevelContents& contents,
                 const PictureRow& row) {
  const std::optional<MapSize> paintable = picture_size(file, contents);
  if (!paintable) return false;
  const MapSize size = *paintable;
  std::vector<std::uint8_t> rgb(std::size_t{size.width} * 3);
  std::uint32_t x = 0, rows = 0;
  // Runs go on across row ends: a run fills what its row has room for, and
  // the rest of it starts the next row.
  for_each_run(file, contents, [&](const Run& run) {
    const Rgb colour = kCodeColours[run.code];
    for (std::uint32_t left = run.length; left > 0 && rows < size.height;) {
      const std::uint32_t length = std::min(left, size.width - x);
      for (std::size_t i = std::size_t{x} * 3; i < std::size_t{x + length} * 3; i += 3) {
        rgb[i] = colour.red;
        rgb[i + 1] = colour.green;
        rgb[i + 2] = colour.blue;
      }
      left -= length;
      x += length;
      if (x < size.width) continue;
      row(rgb.data());
      x = 0;
      ++rows;
    }
    return rows < size.height;
  });
  return true;
}

// Reduced, each cell shows its top-left pixel: the level file's stream
// holds no marks to keep.
bool paint_level(std::span<const std::uint8_t> file, const LevelContents& contents, RowSink& sink) {
  const std::optional<MapSize> size = picture_size(file, contents);
  if (!size) return false;
  const std::uint32_t step = sink.start(size->width, size->height);
  if (step == 0) return false;
  std::vector<std::uint8_t> reduced(std::size_t{(size->width + step - 1) / step} * 3);
  std::uint32_t y = 0;
  const bool painted = paint_level(file, contents, [&](const std::uint8_t* rgb) {
    if (y++ % step != 0) return;
    if (step == 1) return sink.row(rgb);
    for (std::size_t cell = 0; cell < reduced.size() / 3; ++cell) {
      std::copy_n(rgb + cell * step * 3, 3, reduced.data() + cell * 3);
    }
    sink.row(reduced.data());
  });
  return sink.finish() && painted;
}

std::vector<ObjectMark> object_marks(const LevelContents& contents) {
  std::vector<ObjectMark> marks;
  if (!contents.map_size) return marks;
  for (const PlacedObject& object : contents.objects) {
    const ObjectRecord& record = object.record;
    if (!on_map(record, *contents.map_size)) continue;
    ObjectMark& mark =
        marks.emplace_back(ObjectMark{record.x, record.y, record.kind, record.parameters, {}});
    if (record.kind < kMarkerKindColours.size()) mark.colour = kMarkerKindColours[record.kind];
  }
  return marks;
}

}  // namespace zur
