// SPDX-License-Identifier: MIT
#include "engine/attrmap/spill_buffer.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <new>
#include <string>

namespace zur {
namespace {

// A file in the system's temporary folder that has no name, so nothing is
// left behind however the program ends. -1 when none can be made.
int unnamed_temporary_file() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return -1;
  const int fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd >= 0) return fd;
  // Not every file system has unnamed files: name one and remove the name at once.
  std::string pattern = (folder / "zurconv-XXXXXX").string();
  const int named = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (named >= 0) ::unlink(pattern.c_str());
  return named;
}

bool write_all(int fd, const std::uint8_t* data, std::size_t count) {
  while (count > 0) {
    const ssize_t written = ::write(fd, data, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

SpillBuffer::SpillBuffer(std::size_t capacity)
    : capacity_(capacity), buffer_(new (std::nothrow) std::uint8_t[capacity]) {}

SpillBuffer::~SpillBuffer() {
  if (fd_ >= 0) ::close(fd_);
}

void SpillBuffer::append_slow(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (count > 0) {
    if (used_ == capacity_) spill();
    const std::size_t part = std::min(count, capacity_ - used_);
    std::memcpy(buffer_.get() + used_, bytes, part);
    used_ += part;
    bytes += part;
    count -= part;
  }
}

void SpillBuffer::spill() {
  if (fd_ < 0 && !failed_) {
    fd_ = unnamed_temporary_file();
    failed_ = fd_ < 0;
  }
  if (!failed_ && !write_all(fd_, buffer_.get(), used_)) failed_ = true;
  spilled_ += used_;
  used_ = 0;
}

bool SpillBuffer::copy_to(LevelFile& out) {
  if (fd_ < 0) {
    out.append(buffer_.get(), used_);
    return !failed_;
  }
  // Once spilled, the whole stream passes through the file.
  spill();
  return !failed_ && out.append_file(fd_, spilled_);
}

}  // namespace zur
