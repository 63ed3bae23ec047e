// SPDX-License-Identifier: MIT
// A file the engine writes in the page, held in memory in chunks of a fixed
// size, each allocated when first written into: growing never moves the
// bytes already written, and the worker takes the file out chunk by chunk
// (parts()) without a copy of the whole. The bytes between the end and a
// write past it read as zeros.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <system_error>
#include <vector>

namespace zur::web {

class WrittenFile {
 public:
  static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

  std::uint64_t size() const { return size_; }

  // Fails with not_enough_memory when a chunk cannot be had, the file as it
  // was.
  std::error_code write_at(std::uint64_t offset, const void* data, std::size_t count);
  // Only bytes before size(): io_error for any beyond.
  std::error_code read_at(std::uint64_t offset, void* into, std::size_t count) const;

  // The bytes in order, a chunk's at a time; valid until the file changes.
  std::vector<std::span<const std::uint8_t>> parts() const;

 private:
  // Allocates the chunks up to the one that holds byte `end` - 1.
  bool reserve(std::uint64_t end);
  // Calls `copy(chunk bytes, position in the file, count)` for each chunk's
  // piece of [offset, offset + count).
  template <typename Copy>
  void each_piece(std::uint64_t offset, std::size_t count, Copy copy) const;

  std::vector<std::unique_ptr<std::uint8_t[]>> chunks_;
  std::uint64_t size_ = 0;
};

}  // namespace zur::web
