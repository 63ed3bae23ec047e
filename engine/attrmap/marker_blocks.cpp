// SPDX-License-Identifier: MIT
#include "engine/attrmap/marker_blocks.h"

#include <numeric>
#include <utility>

namespace zur {
namespace {

bool before(const MapPlace& a, const MapPlace& b) {
  return a.y != b.y ? a.y < b.y : a.x < b.x;
}

}  // namespace

std::int32_t MarkerBlocks::find(std::int32_t node) {
  while (parent_[node] != node) {
    parent_[node] = parent_[parent_[node]];
    node = parent_[node];
  }
  return node;
}

// The block keeps the earlier first pixel of the two.
std::int32_t MarkerBlocks::unite(std::int32_t a, std::int32_t b) {
  a = find(a);
  b = find(b);
  if (a == b) return a;
  if (before(blocks_[b].first, blocks_[a].first)) std::swap(a, b);
  parent_[b] = a;
  blocks_[a].several = blocks_[a].several || blocks_[b].several;
  return a;
}

std::int32_t MarkerBlocks::add(MapPlace first) {
  const auto node = static_cast<std::int32_t>(blocks_.size());
  parent_.push_back(node);
  blocks_.push_back({first, false});
  return node;
}

void MarkerBlocks::close(const Block& block) {
  if (!block.several) return;
  ++count_;
  if (!first_ || before(block.first, *first_)) first_ = block.first;
}

void MarkerBlocks::row(std::int32_t y, std::span<const RowMarker> markers) {
  if (markers.empty() && above_.empty()) return;
  current_.clear();
  std::size_t up = 0;  // the first marker above not left of this one
  for (const RowMarker& marker : markers) {
    std::int32_t node = -1;
    if (!current_.empty() && current_.back().x == marker.x - 1 &&
        current_.back().kind == marker.kind) {
      node = current_.back().node;
    }
    while (up < above_.size() && above_[up].x < marker.x) ++up;
    if (up < above_.size() && above_[up].x == marker.x && above_[up].kind == marker.kind) {
      node = node < 0 ? above_[up].node : unite(node, above_[up].node);
    }
    if (node < 0) {
      node = add({marker.x, y});
    } else {
      blocks_[find(node)].several = true;
    }
    current_.push_back({marker.x, marker.kind, node});
  }
  close_unreached();
  renumber();
}

// A block of the row above that no pixel of this row joined is complete.
void MarkerBlocks::close_unreached() {
  reached_.assign(blocks_.size(), 0);
  for (const Placed& placed : current_) reached_[find(placed.node)] = 1;
  for (std::int32_t node = 0; node < above_count_; ++node) {
    const std::int32_t root = find(node);
    if (reached_[root]) continue;
    reached_[root] = 1;  // closed once, however many nodes it joined
    close(blocks_[root]);
  }
}

// Keeps one node per block that reaches this row, so the nodes never
// outnumber the markers of a row.
void MarkerBlocks::renumber() {
  renumbered_.assign(blocks_.size(), -1);
  kept_.clear();
  for (Placed& placed : current_) {
    const std::int32_t root = find(placed.node);
    if (renumbered_[root] < 0) {
      renumbered_[root] = static_cast<std::int32_t>(kept_.size());
      kept_.push_back(blocks_[root]);
    }
    placed.node = renumbered_[root];
  }
  std::swap(blocks_, kept_);
  above_count_ = static_cast<std::int32_t>(blocks_.size());
  parent_.resize(blocks_.size());
  std::iota(parent_.begin(), parent_.end(), 0);
  std::swap(above_, current_);
}

void MarkerBlocks::finish() {
  for (const Block& block : blocks_) close(block);
  blocks_.clear();
  parent_.clear();
  above_count_ = 0;
  above_.clear();
}

}  // namespace zur
