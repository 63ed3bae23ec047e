// SPDX-License-Identifier: MIT
// The level file being written: appended to, gathered in a large buffer so
// that the many small records of a level cost few system calls, with room
// made afterwards for a section known only once what follows it is written
// (the objects of a map are known once the stream after them is). It is built
// in a temporary file beside the one it replaces and put in place whole, so
// a kill or a crash leaves either the old level file or the complete new one.
// A large level goes to the disk while it is written, and a huge one keeps
// only its last part in the system's file cache.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "engine/base/error.h"
#include "engine/base/output_file.h"
#include "engine/base/platform.h"
#include "engine/conversion/result.h"

namespace zur {

class LevelFile {
 public:
  // Written through `system`, which must outlive it.
  explicit LevelFile(platform::System& system);
  LevelFile(const LevelFile&) = delete;
  LevelFile& operator=(const LevelFile&) = delete;

  // Prepares to write the level file at `path` as any output file is.
  // ConversionResult::kSuccess; ConversionResult::kNoAccessToOutput when
  // access is denied (to the file or to its folder, which must take a
  // temporary file); or ConversionResult::kCannotAccessOutput for any other
  // reason, among them an existing file that is not a regular file or is one
  // of `sources`. Nothing at the path is changed before commit(). The
  // reason for a refusal is kept (status()).
  ConversionResult open(const std::string& path, std::span<const std::string> sources = {});

  // `data` may be null when `count` is 0.
  void append(const void* data, std::size_t count) {
    if (count == 0) return;
    if (count <= kBufferSize - used_) {
      std::memcpy(buffer_.get() + used_, data, count);
      used_ += count;
    } else {
      append_slow(data, count);
    }
  }

  // Bytes appended so far: the offset the next append writes at.
  std::uint64_t size() const { return written_ + used_; }

  // Overwrites `count` bytes appended before, from offset `at`.
  void write_at(std::uint64_t at, const void* data, std::size_t count);

  // Puts `count` bytes at offset `at`, moving the bytes from there to the end
  // that far towards the end.
  void insert(std::uint64_t at, const void* data, std::size_t count);

  // Writes out what is buffered, closes the file and puts it in place of the
  // one at the path. False when any write, the close or the replacing
  // failed; the path then holds no new level. Committing again only repeats
  // the answer. No fsync: like any compiler's output, the level reaches the
  // disk when the system writes it back. A file not committed is discarded.
  bool commit();

  // Why open() refused the file or commit() failed, with the system's
  // reason; nothing before either failed.
  const Status& status() const { return status_; }

 private:
  // Large enough that a write costs little next to filling it, small enough
  // to come from the allocator's pools rather than a fresh mapping each time.
  static constexpr std::size_t kBufferSize = std::size_t{1} << 16;
  // Written bytes are handed to the disk in parts this large as the file
  // grows (see write_out).
  static constexpr std::uint64_t kWriteBackBytes = std::uint64_t{8} << 20;
  // Of a larger level, about this much stays in the system's file cache
  // while it is written (see release_cache).
  static constexpr std::uint64_t kCachedBytes = std::uint64_t{64} << 20;

  void append_slow(const void* data, std::size_t count);
  void write_out(const std::uint8_t* data, std::size_t count);
  void release_cache();
  void move_towards_end(std::uint64_t from, std::uint64_t distance);
  void flush();

  OutputFile file_;
  bool opened_ = false;
  Status status_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
  std::uint64_t written_ = 0;       // bytes in the file, the buffer's not counted
  std::uint64_t written_back_ = 0;  // bytes handed to the disk so far
  std::uint64_t released_ = 0;      // bytes dropped from the file cache
};

}  // namespace zur
