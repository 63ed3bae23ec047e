// SPDX-License-Identifier: MIT
// The level file being written: append-only, gathered in a large buffer so
// that the many small records of a level cost few system calls. It is built
// in a temporary file beside the one it replaces and put in place whole, so
// a kill or a crash leaves either the old level file or the complete new one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>

#include "engine/level/result.h"

namespace zur {

class LevelFile {
 public:
  LevelFile();
  LevelFile(const LevelFile&) = delete;
  LevelFile& operator=(const LevelFile&) = delete;
  // A file not committed is discarded; what was at the path stays.
  ~LevelFile();

  // Prepares to write the level file at `path`; a symbolic link there is
  // followed to the file it names. ConversionResult::kSuccess;
  // ConversionResult::kNoAccessToOutput when access is denied; or
  // ConversionResult::kCannotAccessOutput for any other reason, among them
  // an existing file that is not a regular file or is one of `sources`.
  // Nothing at the path is changed before commit(), except where its folder
  // cannot take a temporary file: then the existing file is emptied and
  // written in place.
  ConversionResult open(const std::string& path, std::span<const std::string> sources = {});

  void append(const void* data, std::size_t count) {
    if (count <= kBufferSize - used_) {
      std::memcpy(buffer_.get() + used_, data, count);
      used_ += count;
    } else {
      append_slow(data, count);
    }
  }

  // Appends the first `count` bytes of another open file, copied by the
  // system itself where it can; false when they cannot all be read.
  bool append_file(int fd, std::uint64_t count);

  // Writes out what is buffered, closes the file and puts it in place of the
  // one at the path. False when any write, the close or the replacing
  // failed; the path then holds no new level. Committing again only repeats
  // the answer. No fsync: like any compiler's output, the level reaches the
  // disk when the system writes it back.
  bool commit();

 private:
  // Large enough that a write costs little next to filling it, small enough
  // to come from the allocator's pools rather than a fresh mapping each time.
  static constexpr std::size_t kBufferSize = std::size_t{1} << 16;

  void append_slow(const void* data, std::size_t count);
  void write_out(const std::uint8_t* data, std::size_t count);
  bool flush();
  bool put_in_place();
  void discard();

  std::string target_;          // the file replaced: the path, links followed
  std::string temporary_name_;  // while the level has a name of its own
  bool unnamed_ = false;        // an O_TMPFILE file, linked in on commit
  int fd_ = -1;
  bool failed_ = false;
  bool committed_ = false;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace zur
