// SPDX-License-Identifier: MIT
#include "engine/level/shared/level_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "engine/level/shared/temporary_file.h"

namespace zur {
namespace {

constexpr int kMostLinksFollowed = 40;
constexpr mode_t kPermissionBits = 0777;

ConversionResult opening_failure(int error) {
  return error == EACCES ? ConversionResult::kNoAccessToOutput
                         : ConversionResult::kCannotAccessOutput;
}

std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that writing through `path` would reach: symbolic links followed,
// a relative one from the folder that holds it. It need not exist.
std::string final_target(std::string path) {
  for (int followed = 0; followed < kMostLinksFollowed; ++followed) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string link(static_cast<std::size_t>(info.st_size) + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
    if (length < 0 || static_cast<std::size_t>(length) >= link.size()) return path;
    link.resize(static_cast<std::size_t>(length));
    path = link.starts_with('/') ? link : folder_of(path) + "/" + link;
  }
  return path;  // a loop: opening it fails
}

bool is_one_of(const struct stat& file, std::span<const std::string> paths) {
  for (const std::string& path : paths) {
    struct stat other {};
    if (::stat(path.c_str(), &other) == 0 && other.st_dev == file.st_dev &&
        other.st_ino == file.st_ino) {
      return true;
    }
  }
  return false;
}

// A new file in `folder` that has no name until it is linked in, or -1.
int create_unnamed(const std::string& folder) {
  // Read and write for everyone the umask allows, like any file a user saves.
  return ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
}

// A new file under a fresh temporary name beside `target`, registered for
// removal on interruption; -1 with errno set when none can be made.
int create_named(const std::string& target, std::string& name) {
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const InterruptsHeld held;
    name = temporary_name_for(target);
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      remove_on_interrupt(name);
      return fd;
    }
    if (errno != EEXIST) break;
  }
  const int error = errno;
  name.clear();
  errno = error;
  return -1;
}

// Gives the unnamed file `fd` a temporary name beside `target`, registered
// for removal on interruption; false when the system cannot.
bool link_in(int fd, const std::string& target, std::string& name) {
  const std::string descriptor = "/proc/self/fd/" + std::to_string(fd);
  const InterruptsHeld held;
  name = temporary_name_for(target);
  if (::linkat(AT_FDCWD, descriptor.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0 &&
      ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) != 0) {
    name.clear();
    return false;
  }
  remove_on_interrupt(name);
  return true;
}

void remove_temporary(std::string& name) {
  const InterruptsHeld held;
  ::unlink(name.c_str());
  remove_on_interrupt({});
  name.clear();
}

}  // namespace

bool write_all_at(int fd, std::uint64_t offset, const std::uint8_t* data, std::size_t count) {
  while (count > 0) {
    const ssize_t written = ::pwrite(fd, data, count, static_cast<off_t>(offset));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    offset += static_cast<std::uint64_t>(written);
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

LevelFile::LevelFile() : buffer_(std::make_unique_for_overwrite<std::uint8_t[]>(kBufferSize)) {}

LevelFile::~LevelFile() {
  discard();
}

ConversionResult LevelFile::open(const std::string& path, std::span<const std::string> sources) {
  // The system would stop the name at a zero byte and write to another file.
  if (path.find('\0') != std::string::npos) return ConversionResult::kCannotAccessOutput;
  target_ = final_target(path);
  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) return opening_failure(errno);
  // Never write into a pipe or a device, nor over a source of the level.
  if (exists && (!S_ISREG(existing.st_mode) || is_one_of(existing, sources))) {
    return ConversionResult::kCannotAccessOutput;
  }
  // A level file that may not be written stays as it is.
  int in_place = -1;
  if (exists) {
    in_place = ::open(target_.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (in_place < 0) return opening_failure(errno);
  }

  fd_ = create_unnamed(folder_of(target_));
  unnamed_ = fd_ >= 0;
  if (!unnamed_) fd_ = create_named(target_, temporary_name_);
  const int error = errno;
  if (fd_ >= 0) {
    if (exists) {
      ::fchmod(fd_, existing.st_mode & kPermissionBits);
      ::close(in_place);
    }
    return ConversionResult::kSuccess;
  }
  // The folder takes no temporary file: write over the level as it stands.
  if (exists && ::ftruncate(in_place, 0) == 0) {
    fd_ = in_place;
    return ConversionResult::kSuccess;
  }
  if (in_place >= 0) ::close(in_place);
  return opening_failure(error);
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

void LevelFile::write_at(std::uint64_t at, const void* data, std::size_t count) {
  flush();
  write_at_offset(at, static_cast<const std::uint8_t*>(data), count);
}

void LevelFile::insert(std::uint64_t at, const void* data, std::size_t count) {
  if (count == 0) return;
  flush();
  move_towards_end(at, count);
  write_at_offset(at, static_cast<const std::uint8_t*>(data), count);
  written_ += count;
}

// Moves the bytes from `from` to the end by `distance`, through the buffer,
// the last part first, so that no part is overwritten before it is read.
void LevelFile::move_towards_end(std::uint64_t from, std::uint64_t distance) {
  std::uint64_t end = written_;
  while (end > from && !failed_) {
    const auto part = static_cast<std::size_t>(std::min<std::uint64_t>(end - from, kBufferSize));
    const std::uint64_t start = end - part;
    const ssize_t got = ::pread(fd_, buffer_.get(), part, static_cast<off_t>(start));
    if (got < 0 && errno == EINTR) continue;
    if (got != static_cast<ssize_t>(part)) {
      failed_ = true;
      return;
    }
    write_at_offset(start + distance, buffer_.get(), part);
    end = start;
  }
}

bool LevelFile::flush() {
  write_out(buffer_.get(), used_);
  used_ = 0;
  return !failed_;
}

void LevelFile::write_out(const std::uint8_t* data, std::size_t count) {
  write_at_offset(written_, data, count);
  written_ += count;
  // Replacing a file makes the system write the new one to disk first (ext4
  // does on a rename over a file), and the conversion would wait for all of
  // a large level there; started as the file grows, that writing overlaps
  // the conversion.
  if (written_ - written_back_ >= kWriteBackBytes) {
    ::sync_file_range(fd_, static_cast<off_t>(written_back_),
                      static_cast<off_t>(written_ - written_back_), SYNC_FILE_RANGE_WRITE);
    written_back_ = written_;
    release_cache();
  }
}

// A huge level would fill the system's file cache with memory that has
// not been used for a while, which costs far more than reusing the same
// pages: parts written long enough ago are waited for and dropped from it.
void LevelFile::release_cache() {
  while (written_back_ - released_ > kCachedBytes) {
    const auto start = static_cast<off_t>(released_);
    ::sync_file_range(
        fd_, start, kWriteBackBytes,
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
    ::posix_fadvise(fd_, start, kWriteBackBytes, POSIX_FADV_DONTNEED);
    released_ += kWriteBackBytes;
  }
}

void LevelFile::write_at_offset(std::uint64_t at, const std::uint8_t* data, std::size_t count) {
  if (!failed_ && !write_all_at(fd_, at, data, count)) failed_ = true;
}

bool LevelFile::commit() {
  if (fd_ < 0) return committed_;
  committed_ = flush() && put_in_place();
  discard();
  return committed_;
}

bool LevelFile::put_in_place() {
  if (unnamed_ && !link_in(fd_, target_, temporary_name_)) return false;
  unnamed_ = false;
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) return false;
  if (temporary_name_.empty()) return true;  // written in place
  const InterruptsHeld held;
  if (::rename(temporary_name_.c_str(), target_.c_str()) != 0) return false;
  remove_on_interrupt({});
  temporary_name_.clear();
  return true;
}

// Closes the file and removes its temporary name, if it still has them.
void LevelFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_name_.empty()) remove_temporary(temporary_name_);
}

}  // namespace zur
