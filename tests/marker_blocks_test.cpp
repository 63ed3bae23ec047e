// SPDX-License-Identifier: MIT
// Blocks of touching markers found row by row agree with a flood fill over
// the whole grid, on random grids.
#include "engine/attrmap/marker_blocks.h"

#include <gtest/gtest.h>

#include <random>

namespace zur {
namespace {

constexpr std::uint8_t kNoMarker = 0xFF;

struct Grid {
  int width, height;
  std::vector<std::uint8_t> kinds;
  std::uint8_t at(int x, int y) const { return kinds[static_cast<std::size_t>(y * width + x)]; }
};

// Blocks of more than one pixel, and the first pixel of the first.
std::pair<std::uint64_t, std::optional<MapPlace>> flood_fill(const Grid& grid) {
  std::vector<bool> seen(grid.kinds.size());
  std::uint64_t count = 0;
  std::optional<MapPlace> first;
  for (int y = 0; y < grid.height; ++y) {
    for (int x = 0; x < grid.width; ++x) {
      const std::uint8_t kind = grid.at(x, y);
      if (kind == kNoMarker || seen[y * grid.width + x]) continue;
      std::vector<std::pair<int, int>> stack = {{x, y}};
      seen[y * grid.width + x] = true;
      int size = 0;
      while (!stack.empty()) {
        const auto [px, py] = stack.back();
        stack.pop_back();
        ++size;
        for (const auto& [nx, ny] :
             {std::pair{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}}) {
          if (nx < 0 || ny < 0 || nx >= grid.width || ny >= grid.height) continue;
          if (grid.at(nx, ny) != kind || seen[ny * grid.width + nx]) continue;
          seen[ny * grid.width + nx] = true;
          stack.push_back({nx, ny});
        }
      }
      if (size > 1) {
        ++count;
        if (!first) first = MapPlace{x, y};
      }
    }
  }
  return {count, first};
}

TEST(MarkerBlocks, AgreeWithAFloodFillOnRandomGrids) {
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    Grid grid{1 + static_cast<int>(random() % 12), 1 + static_cast<int>(random() % 12), {}};
    const unsigned density = 2 + random() % 4;
    for (int i = 0; i < grid.width * grid.height; ++i) {
      grid.kinds.push_back(random() % density < 2 ? static_cast<std::uint8_t>(random() % 2)
                                                  : kNoMarker);
    }
    MarkerBlocks blocks;
    for (int y = 0; y < grid.height; ++y) {
      std::vector<RowMarker> row;
      for (int x = 0; x < grid.width; ++x) {
        if (grid.at(x, y) != kNoMarker) row.push_back({x, grid.at(x, y)});
      }
      blocks.row(y, row);
    }
    blocks.finish();
    const auto [count, first] = flood_fill(grid);
    ASSERT_EQ(blocks.count(), count) << "round " << round;
    ASSERT_EQ(blocks.first().has_value(), first.has_value()) << "round " << round;
    if (first) {
      EXPECT_EQ(blocks.first()->x, first->x) << "round " << round;
      EXPECT_EQ(blocks.first()->y, first->y) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace zur
