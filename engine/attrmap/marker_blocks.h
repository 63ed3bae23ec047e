// SPDX-License-Identifier: MIT
// Finds blocks of touching markers: same-kind marker pixels joined by an edge.
// Each pixel places an object, so a block of several pixels (a brush wider
// than one pixel) places several objects where one was likely meant. Rows are
// fed top first as lists of their markers; memory stays proportional to the
// markers of two rows, and rows without markers cost nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "zur/palette.h"

namespace zur {

struct RowMarker {
  std::int32_t x;
  std::uint8_t kind;
};

class MarkerBlocks {
 public:
  // The markers of row y, left to right.
  void row(std::int32_t y, std::span<const RowMarker> markers);
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
  struct Placed {
    std::int32_t x;
    std::uint8_t kind;
    std::int32_t node;
  };

  std::int32_t find(std::int32_t node);
  std::int32_t unite(std::int32_t a, std::int32_t b);
  std::int32_t add(MapPlace first);
  void close(const Block& block);
  void close_unreached();
  void renumber();

  // The markers of the row above and of the row being fed, with their nodes.
  std::vector<Placed> above_, current_;
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
