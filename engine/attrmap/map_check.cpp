// SPDX-License-Identifier: MIT
#include "engine/attrmap/map_check.h"

namespace zur {
namespace {

constexpr std::size_t kColourKeys = std::size_t{1} << 24;

}  // namespace

std::uint8_t nearest_palette_code(const Rgb& colour) {
  std::uint8_t nearest = 0;
  int nearest_distance = INT32_MAX;
  for (std::size_t code = 0; code < kPalette.size(); ++code) {
    const Rgb& legal = kPalette[code].colour;
    const int red = colour.red - legal.red;
    const int green = colour.green - legal.green;
    const int blue = colour.blue - legal.blue;
    const int distance = red * red + green * green + blue * blue;
    if (distance < nearest_distance) {
      nearest = static_cast<std::uint8_t>(code);
      nearest_distance = distance;
    }
  }
  return nearest;
}

void MapChecker::end_row() {
  blocks_.row(y_, row_markers_);
  row_markers_.clear();
  ++y_;
}

void MapChecker::place(const MarkerKind& marker, const Rgb& colour, std::int32_t x,
                       std::int32_t pixels) {
  for (std::int32_t i = 0; i < pixels; ++i) row_markers_.push_back({x + i, marker.kind});
  const std::size_t before = objects_.count;
  place_markers(marker, colour, x, y_, pixels, objects_);
  const auto placed = static_cast<std::int32_t>(objects_.count - before);
  findings_.objects_by_kind[marker.kind] += static_cast<std::size_t>(placed);
  if (placed == pixels) return;
  if (!findings_.first_dropped) findings_.first_dropped = MapPlace{x + placed, y_};
  findings_.dropped_markers += static_cast<std::uint64_t>(pixels - placed);
}

void MapChecker::count_illegal(const Rgb& colour, std::int32_t x, std::int32_t pixels) {
  findings_.illegal_pixels += static_cast<std::uint64_t>(pixels);
  const std::uint32_t key = palette_detail::colour_key(colour);
  if (seen_colours_.empty()) seen_colours_.resize(kColourKeys / 64);
  std::uint64_t& word = seen_colours_[key / 64];
  const std::uint64_t bit = std::uint64_t{1} << (key % 64);
  if (word & bit) {
    const auto listed = listed_.find(key);
    if (listed != listed_.end()) findings_.illegal_colours[listed->second].pixels += pixels;
    return;
  }
  word |= bit;
  ++findings_.distinct_illegal_colours;
  if (findings_.illegal_colours.size() == MapCheckFindings::kListedColours) return;
  listed_.emplace(key, findings_.illegal_colours.size());
  findings_.illegal_colours.push_back(
      {colour, static_cast<std::uint64_t>(pixels), {x, y_}, nearest_palette_code(colour)});
}

MapCheckFindings MapChecker::finish() {
  blocks_.finish();
  findings_.marker_blocks = blocks_.count();
  findings_.first_marker_block = blocks_.first();
  for (std::size_t i = 0; i < objects_.count; ++i) {
    const ObjectRecord& object = objects_.records[i];
    findings_.objects.push_back({{object.x, object.y}, {object.kind, object.parameters}});
  }
  return findings_;
}

}  // namespace zur
