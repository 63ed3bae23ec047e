#include "engine/level/level_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace zur {

LevelFile::LevelFile() : buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(kBufferSize)) {}

LevelFile::~LevelFile() {
  close();
}

ConversionResult LevelFile::open(const std::string& path) {
  // The system would stop the name at a zero byte and write to another file.
  if (path.find('\0') != std::string::npos) return ConversionResult::kCannotAccessOutput;
  // Read and write for everyone the umask allows, like any file a user saves.
  fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ >= 0) return ConversionResult::kSuccess;
  return errno == EACCES ? ConversionResult::kNoAccessToOutput
                         : ConversionResult::kCannotAccessOutput;
}

void LevelFile::append_slow(const void* data, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  flush();
  if (count >= kBufferSize) {
    write_out(bytes, count);
    return;
  }
  std::memcpy(buffer_.get(), bytes, count);
  used_ = count;
}

bool LevelFile::append_file(int fd, std::uint64_t count) {
  flush();
  off_t at = 0;
  while (count > 0 && !failed_) {
    const ssize_t copied = ::copy_file_range(fd, &at, fd_, nullptr, count, 0);
    if (copied < 0 && errno == EINTR) continue;
    if (copied <= 0) break;
    count -= static_cast<std::uint64_t>(copied);
  }
  // Where the system cannot copy between these files, through the buffer.
  while (count > 0 && !failed_) {
    const std::size_t part = static_cast<std::size_t>(std::min<std::uint64_t>(count, kBufferSize));
    const ssize_t got = ::pread(fd, buffer_.get(), part, at);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    write_out(buffer_.get(), static_cast<std::size_t>(got));
    at += got;
    count -= static_cast<std::uint64_t>(got);
  }
  return true;
}

bool LevelFile::flush() {
  write_out(buffer_.get(), used_);
  used_ = 0;
  return !failed_;
}

void LevelFile::write_out(const std::uint8_t* data, std::size_t count) {
  while (count > 0 && !failed_) {
    const ssize_t written = ::write(fd_, data, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failed_ = true;
      return;
    }
    data += written;
    count -= static_cast<std::size_t>(written);
  }
}

bool LevelFile::close() {
  if (fd_ < 0) return !failed_;
  flush();
  if (::close(fd_) != 0) failed_ = true;
  fd_ = -1;
  return !failed_;
}

}  // namespace zur
