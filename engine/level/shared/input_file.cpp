// SPDX-License-Identifier: MIT
#include "engine/level/shared/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace zur {

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InputFile::open(const std::string& path) {
  // The system would stop the name at a zero byte and read another file.
  if (path.find('\0') != std::string::npos) return false;
  // Non-blocking, so that a named pipe is refused instead of waited on; it
  // changes nothing for the regular files that are read.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) return false;
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  size_ = static_cast<std::uint64_t>(info.st_size);
  return true;
}

bool InputFile::read_exact(void* into, std::size_t count) {
  auto* at = static_cast<char*>(into);
  while (count > 0) {
    const ssize_t got = ::read(fd_, at, count);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    at += got;
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

bool InputFile::read_at(std::uint64_t offset, void* into, std::size_t count) {
  auto* at = static_cast<char*>(into);
  while (count > 0) {
    const ssize_t got = ::pread(fd_, at, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    at += got;
    offset += static_cast<std::uint64_t>(got);
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

std::optional<std::size_t> InputFile::read_text_block(char* into, std::size_t count) {
  if (position_ >= size_ || count == 0) return 0;
  const off_t data = ::lseek(fd_, static_cast<off_t>(position_), SEEK_DATA);
  // No more data after the position: the rest of the file is one hole.
  const std::uint64_t hole_end =
      data >= 0 ? static_cast<std::uint64_t>(data) : (errno == ENXIO ? size_ : position_);
  if (hole_end > position_) {
    const std::size_t zeros =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, hole_end - position_));
    std::fill_n(into, zeros, '\0');
    position_ = hole_end;
    return zeros;
  }
  for (;;) {
    const ssize_t got = ::pread(fd_, into, count, static_cast<off_t>(position_));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    position_ += static_cast<std::uint64_t>(got);
    // A file cut short while it is read ends there.
    if (got == 0) position_ = size_;
    return static_cast<std::size_t>(got);
  }
}

}  // namespace zur
