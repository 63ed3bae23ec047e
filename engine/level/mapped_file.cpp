// SPDX-License-Identifier: MIT
#include "engine/level/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zur {

MappedFile::~MappedFile() {
  if (size_ > 0) ::munmap(const_cast<std::uint8_t*>(data_), size_);
}

bool MappedFile::open(const std::string& path) {
  if (path.find('\0') != std::string::npos) return false;
  // Non-blocking, so that a named pipe is refused instead of waited on.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  bool mapped = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (mapped && info.st_size > 0) {
    void* data =
        ::mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    mapped = data != MAP_FAILED;
    if (mapped) {
      data_ = static_cast<const std::uint8_t*>(data);
      size_ = static_cast<std::size_t>(info.st_size);
    }
  }
  ::close(fd);
  return mapped;
}

}  // namespace zur
