#include "engine/attrmap/map_check.h"

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/object_record.h"

namespace zur {
namespace {

constexpr std::size_t kColourKeys = std::size_t{1} << 24;

Rgb colour_of(std::uint32_t key) {
  return {static_cast<std::uint8_t>(key >> 16), static_cast<std::uint8_t>(key >> 8),
          static_cast<std::uint8_t>(key)};
}

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

MapChecker::MapChecker(std::int32_t width)
    : width_(width), kinds_(static_cast<std::size_t>(width)), blocks_(width) {}

void MapChecker::row(std::int32_t y, const std::uint8_t* pixels) {
  // Maps are mostly long runs of one colour: classify a colour once per run.
  std::optional<std::uint32_t> run_key;
  bool run_legal = true;
  for (std::int32_t x = 0; x < width_; ++x, pixels += 3) {
    const std::uint8_t blue = pixels[0], green = pixels[1], red = pixels[2];
    kinds_[x] = MarkerBlocks::kNoMarker;
    if (const MarkerKind* marker = marker_kind(blue)) {
      kinds_[x] = marker->kind;
      count_marker(marker->kind, x, y);
      continue;
    }
    const std::uint32_t key = palette_detail::colour_key({red, green, blue});
    if (key != run_key) {
      run_key = key;
      run_legal = classify_colour({red, green, blue}).has_value();
    }
    if (!run_legal) count_illegal(key, x, y);
  }
  blocks_.row(y, kinds_.data());
}

void MapChecker::count_marker(std::uint8_t kind, std::int32_t x, std::int32_t y) {
  if (findings_.objects < kObjectLimit) {
    ++findings_.objects;
    ++findings_.objects_by_kind[kind];
    return;
  }
  if (!findings_.first_dropped) findings_.first_dropped = MapPlace{x, y};
  ++findings_.dropped_markers;
}

void MapChecker::count_illegal(std::uint32_t key, std::int32_t x, std::int32_t y) {
  ++findings_.illegal_pixels;
  if (seen_colours_.empty()) seen_colours_.resize(kColourKeys / 64);
  std::uint64_t& word = seen_colours_[key / 64];
  const std::uint64_t bit = std::uint64_t{1} << (key % 64);
  if (word & bit) {
    const auto listed = listed_.find(key);
    if (listed != listed_.end()) ++findings_.illegal_colours[listed->second].pixels;
    return;
  }
  word |= bit;
  ++findings_.distinct_illegal_colours;
  if (findings_.illegal_colours.size() == MapFindings::kListedColours) return;
  const Rgb colour = colour_of(key);
  listed_.emplace(key, findings_.illegal_colours.size());
  findings_.illegal_colours.push_back({colour, 1, {x, y}, nearest_palette_code(colour)});
}

MapFindings MapChecker::finish() {
  blocks_.finish();
  findings_.marker_blocks = blocks_.count();
  findings_.first_marker_block = blocks_.first();
  return findings_;
}

}  // namespace zur
