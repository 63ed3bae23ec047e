// SPDX-License-Identifier: MIT
// A file's bytes, mapped read-only into memory so that a large level file is
// read without a copy and its pages are read as they are touched. Unmapped
// when the object goes; the bytes must not be used after that. Read through
// the system it is given, which must outlive it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/base/error.h"
#include "engine/base/platform.h"

namespace zur {

class MappedFile {
 public:
  explicit MappedFile(platform::System& system) : system_(system) {}
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile();

  // Why not, when the file does not exist, is not a regular file or cannot
  // be read.
  Status open(const std::string& path);
  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

 private:
  platform::System& system_;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace zur
