// SPDX-License-Identifier: MIT
#include "engine/conversion/level_file.h"

#include <algorithm>

namespace zur {

// Left uninitialised: every byte is written before it is flushed.
LevelFile::LevelFile(platform::System& system)
    : file_(system), buffer_(new std::uint8_t[kBufferSize]) {}

ConversionResult LevelFile::open(const std::string& path, std::span<const std::string> sources) {
  status_ = file_.open(path, sources);
  opened_ = status_.ok();
  if (opened_) return ConversionResult::kSuccess;
  return status_.error().code == std::errc::permission_denied
             ? ConversionResult::kNoAccessToOutput
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

void LevelFile::write_at(std::uint64_t at, const void* data, std::size_t count) {
  flush();
  file_.write_at(at, data, count);
}

void LevelFile::insert(std::uint64_t at, const void* data, std::size_t count) {
  if (count == 0) return;
  flush();
  move_towards_end(at, count);
  file_.write_at(at, data, count);
  written_ += count;
}

// Moves the bytes from `from` to the end by `distance`, through the buffer,
// the last part first, so that no part is overwritten before it is read.
void LevelFile::move_towards_end(std::uint64_t from, std::uint64_t distance) {
  std::uint64_t end = written_;
  while (end > from && !file_.failed()) {
    const auto part = static_cast<std::size_t>(std::min<std::uint64_t>(end - from, kBufferSize));
    const std::uint64_t start = end - part;
    file_.read_at(start, buffer_.get(), part);
    file_.write_at(start + distance, buffer_.get(), part);
    end = start;
  }
}

void LevelFile::flush() {
  write_out(buffer_.get(), used_);
  used_ = 0;
}

void LevelFile::write_out(const std::uint8_t* data, std::size_t count) {
  file_.write_at(written_, data, count);
  written_ += count;
  // Replacing a file makes the system write the new one to disk first (ext4
  // does on a rename over a file), and the conversion would wait for all of
  // a large level there; started as the file grows, that writing overlaps
  // the conversion.
  if (written_ - written_back_ >= kWriteBackBytes) {
    file_.start_write_back(written_back_, written_);
    written_back_ = written_;
    release_cache();
  }
}

// A huge level would fill the system's file cache with memory that has
// not been used for a while, which costs far more than reusing the same
// pages: parts written long enough ago are waited for and dropped from it.
void LevelFile::release_cache() {
  while (written_back_ - released_ > kCachedBytes) {
    file_.drop_from_cache(released_, released_ + kWriteBackBytes);
    released_ += kWriteBackBytes;
  }
}

bool LevelFile::commit() {
  if (!opened_) return false;
  flush();
  status_ = file_.commit();
  return status_.ok();
}

}  // namespace zur
