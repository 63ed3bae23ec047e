// The level file being written: append-only, gathered in a large buffer so
// that the many small records of a level cost few system calls. A failed
// write is remembered; the file is closed when the object goes away.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "engine/level/result.h"

namespace zur {

class LevelFile {
 public:
  LevelFile();
  LevelFile(const LevelFile&) = delete;
  LevelFile& operator=(const LevelFile&) = delete;
  ~LevelFile();

  // Creates the file, or empties an existing one. ConversionResult::kSuccess,
  // ConversionResult::kNoAccessToOutput when access is denied, or
  // ConversionResult::kCannotAccessOutput for any other reason.
  ConversionResult open(const std::string& path);

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

  // Writes out what is buffered; false once any write has failed.
  bool flush();
  // Flushes and closes; false when any write failed.
  bool close();

 private:
  static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

  void append_slow(const void* data, std::size_t count);
  void write_out(const std::uint8_t* data, std::size_t count);

  int fd_ = -1;
  bool failed_ = false;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace zur
