// SPDX-License-Identifier: MIT
#include "written_file.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace zur::web {
namespace {

std::size_t chunks_for(std::uint64_t end) {
  return static_cast<std::size_t>((end + WrittenFile::kChunkBytes - 1) / WrittenFile::kChunkBytes);
}

}  // namespace

template <typename Copy>
void WrittenFile::each_piece(std::uint64_t offset, std::size_t count, Copy copy) const {
  for (std::size_t done = 0; done < count;) {
    const std::uint64_t at = offset + done;
    const auto within = static_cast<std::size_t>(at % kChunkBytes);
    const std::size_t piece = std::min(count - done, kChunkBytes - within);
    copy(chunks_[static_cast<std::size_t>(at / kChunkBytes)].get() + within, done, piece);
    done += piece;
  }
}

bool WrittenFile::reserve(std::uint64_t end) {
  // A file larger than the address space could never be held.
  if (end > std::numeric_limits<std::size_t>::max()) return false;
  while (chunks_.size() < chunks_for(end)) {
    std::unique_ptr<std::uint8_t[]> chunk(new (std::nothrow) std::uint8_t[kChunkBytes]);
    if (!chunk) return false;
    chunks_.push_back(std::move(chunk));
  }
  return true;
}

std::error_code WrittenFile::write_at(std::uint64_t offset, const void* data, std::size_t count) {
  if (count == 0) return {};
  const std::uint64_t end = offset + count;
  if (end < offset || !reserve(end)) {
    chunks_.resize(chunks_for(size_));
    return std::make_error_code(std::errc::not_enough_memory);
  }
  if (offset > size_) {
    each_piece(
        size_, static_cast<std::size_t>(offset - size_),
        [](std::uint8_t* chunk, std::size_t, std::size_t piece) { std::memset(chunk, 0, piece); });
  }
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  each_piece(offset, count, [bytes](std::uint8_t* chunk, std::size_t done, std::size_t piece) {
    std::memcpy(chunk, bytes + done, piece);
  });
  size_ = std::max(size_, end);
  return {};
}

std::error_code WrittenFile::read_at(std::uint64_t offset, void* into, std::size_t count) const {
  if (offset > size_ || count > size_ - offset) return std::make_error_code(std::errc::io_error);
  auto* bytes = static_cast<std::uint8_t*>(into);
  each_piece(offset, count,
             [bytes](const std::uint8_t* chunk, std::size_t done, std::size_t piece) {
               std::memcpy(bytes + done, chunk, piece);
             });
  return {};
}

std::vector<std::span<const std::uint8_t>> WrittenFile::parts() const {
  std::vector<std::span<const std::uint8_t>> parts;
  for (std::uint64_t at = 0; at < size_; at += kChunkBytes) {
    parts.emplace_back(chunks_[static_cast<std::size_t>(at / kChunkBytes)].get(),
                       static_cast<std::size_t>(std::min<std::uint64_t>(kChunkBytes, size_ - at)));
  }
  return parts;
}

}  // namespace zur::web
