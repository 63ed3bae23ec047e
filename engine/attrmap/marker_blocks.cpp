#include "engine/attrmap/marker_blocks.h"

#include <numeric>
#include <utility>

namespace zur {
namespace {

bool before(const MapPlace& a, const MapPlace& b) {
  return a.y != b.y ? a.y < b.y : a.x < b.x;
}

}  // namespace

MarkerBlocks::MarkerBlocks(std::int32_t width)
    : width_(width),
      above_kind_(static_cast<std::size_t>(width), kNoMarker),
      kind_(static_cast<std::size_t>(width), kNoMarker),
      above_node_(static_cast<std::size_t>(width), -1),
      node_(static_cast<std::size_t>(width), -1) {}

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

void MarkerBlocks::row(std::int32_t y, const std::uint8_t* kinds) {
  for (std::int32_t x = 0; x < width_; ++x) {
    const std::uint8_t kind = kinds[x];
    kind_[x] = kind;
    node_[x] = -1;
    if (kind == kNoMarker) continue;
    std::int32_t node = -1;
    if (x > 0 && kind_[x - 1] == kind) node = node_[x - 1];
    if (above_kind_[x] == kind) node = node < 0 ? above_node_[x] : unite(node, above_node_[x]);
    if (node < 0) {
      node = add({x, y});
    } else {
      blocks_[find(node)].several = true;
    }
    node_[x] = node;
  }
  close_unreached();
  renumber();
}

// A block of the row above that no pixel of this row joined is complete.
void MarkerBlocks::close_unreached() {
  reached_.assign(blocks_.size(), 0);
  for (std::int32_t x = 0; x < width_; ++x) {
    if (node_[x] >= 0) reached_[find(node_[x])] = 1;
  }
  for (std::int32_t node = 0; node < above_count_; ++node) {
    const std::int32_t root = find(node);
    if (reached_[root]) continue;
    reached_[root] = 1;  // closed once, however many nodes it joined
    close(blocks_[root]);
  }
}

// Keeps one node per block that reaches this row, so the nodes never
// outnumber the pixels of a row.
void MarkerBlocks::renumber() {
  renumbered_.assign(blocks_.size(), -1);
  kept_.clear();
  for (std::int32_t x = 0; x < width_; ++x) {
    if (node_[x] < 0) continue;
    const std::int32_t root = find(node_[x]);
    if (renumbered_[root] < 0) {
      renumbered_[root] = static_cast<std::int32_t>(kept_.size());
      kept_.push_back(blocks_[root]);
    }
    node_[x] = renumbered_[root];
  }
  std::swap(blocks_, kept_);
  above_count_ = static_cast<std::int32_t>(blocks_.size());
  parent_.resize(blocks_.size());
  std::iota(parent_.begin(), parent_.end(), 0);
  std::swap(above_kind_, kind_);
  std::swap(above_node_, node_);
}

void MarkerBlocks::finish() {
  for (const Block& block : blocks_) close(block);
  blocks_.clear();
  parent_.clear();
  above_count_ = 0;
  above_kind_.assign(above_kind_.size(), kNoMarker);
}

}  // namespace zur
