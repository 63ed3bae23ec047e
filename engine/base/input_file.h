// SPDX-License-Identifier: MIT
// Read-only access to a source file: a regular file opened in binary mode
// through the system it is given (which must outlive it), closed when the
// object goes away. Reads either deliver every byte asked
// for or report failure, so a file that shrank while it was read is noticed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "engine/base/error.h"
#include "engine/base/platform.h"

namespace zur {

class InputFile {
 public:
  explicit InputFile(platform::System& system) : system_(system) {}
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // Fails, "cannot read PATH: REASON", when the file does not exist, is not
  // a regular file or cannot be opened for reading.
  Status open(const std::string& path);
  std::uint64_t size() const { return size_; }
  platform::FileHandle handle() const { return file_; }
  bool read_exact(void* into, std::size_t count);
  // Reads at a position without moving the file position.
  bool read_at(std::uint64_t offset, void* into, std::size_t count);
  // Reads the next bytes of a text, up to `count`: 0 at its end, nothing on
  // a failure. A hole in a sparse file reads as zeros, and no zero byte ends
  // a line: of a long hole only one block of zeros is delivered and the rest
  // skipped, so a file costs the time of its data, not of its size.
  std::optional<std::size_t> read_text_block(char* into, std::size_t count);

 private:
  platform::System& system_;
  platform::FileHandle file_ = platform::kNoFile;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;  // of read_exact and read_text_block
};

}  // namespace zur
