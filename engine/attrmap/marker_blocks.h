// Finds blocks of touching markers: same-kind marker pixels joined by an edge.
// Each pixel places an object, so a block of several pixels (a brush wider
// than one pixel) places several objects where one was likely meant. Rows are
// fed top first; memory stays proportional to the width.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace zur {

struct MapPlace {
  std::int32_t x = 0;
  std::int32_t y = 0;  // from the top row
};

class MarkerBlocks {
 public:
  static constexpr std::uint8_t kNoMarker = 0xFF;

  explicit MarkerBlocks(std::int32_t width);

  // `kinds` holds one entry per pixel of row y: its marker kind or kNoMarker.
  void row(std::int32_t y, const std::uint8_t* kinds);
  // Closes the blocks that reach the last row.
  void finish();

  // Blocks of more than one pixel, and the first pixel, in scan order, of the
  // first of them.
  std::uint64_t count() const { return count_; }
  const std::optional<MapPlace>& first() const { return first_; }

 private:
  struct Block {
    MapPlace first;
    bool several = false;
  };

  std::int32_t find(std::int32_t node);
  std::int32_t unite(std::int32_t a, std::int32_t b);
  std::int32_t add(MapPlace first);
  void close(const Block& block);
  void close_unreached();
  void renumber();

  std::int32_t width_;
  // The row above and the row being fed: kinds and block nodes per pixel.
  std::vector<std::uint8_t> above_kind_, kind_;
  std::vector<std::int32_t> above_node_, node_;
  // Union-find over the blocks of the row above (nodes 0 to above_count_ - 1)
  // and those begun in this row.
  std::vector<std::int32_t> parent_;
  std::vector<Block> blocks_;
  std::int32_t above_count_ = 0;
  std::vector<std::int32_t> renumbered_;
  std::vector<Block> kept_;
  std::vector<char> reached_;
  std::uint64_t count_ = 0;
  std::optional<MapPlace> first_;
};

}  // namespace zur
