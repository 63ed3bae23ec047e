// SPDX-License-Identifier: MIT
// Bytes gathered in a bounded buffer that spill to an unnamed temporary file
// once they outgrow it, then are appended to the level file in one go: the
// packed attribute stream is made before the object section that precedes
// it is complete, and a noise map's stream is as large as the map.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "engine/level/level_file.h"

namespace zur {

inline constexpr std::size_t kSpillBufferBytes = std::size_t{1} << 20;

class SpillBuffer {
 public:
  explicit SpillBuffer(std::size_t capacity = kSpillBufferBytes);
  SpillBuffer(const SpillBuffer&) = delete;
  SpillBuffer& operator=(const SpillBuffer&) = delete;
  ~SpillBuffer();

  // False when the buffer could not be allocated.
  bool ready() const { return buffer_ != nullptr; }

  void append(const void* data, std::size_t count) {
    if (count <= capacity_ - used_) {
      std::memcpy(buffer_.get() + used_, data, count);
      used_ += count;
    } else {
      append_slow(data, count);
    }
  }

  // False once the temporary file could not be made or written.
  bool good() const { return !failed_; }

  // Appends everything gathered, in order, to `out`; false when the spilled
  // part cannot be read back.
  bool copy_to(LevelFile& out);

 private:
  void append_slow(const void* data, std::size_t count);
  void spill();

  std::size_t capacity_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
  int fd_ = -1;                // the temporary file, once the buffer first filled
  std::uint64_t spilled_ = 0;  // bytes in it
  bool failed_ = false;
};

}  // namespace zur
