// SPDX-License-Identifier: MIT
#include "engine/base/input_file.h"

#include <algorithm>

namespace zur {

InputFile::~InputFile() {
  system_.close_file(file_);
}

Status InputFile::open(const std::string& path) {
  // The system would stop the name at a zero byte and read another file.
  std::error_code error;
  if (path.find('\0') != std::string::npos)
    error = std::make_error_code(std::errc::invalid_argument);
  platform::FileStatus status;
  if (!error) error = system_.open_for_reading(path, file_);
  if (!error) error = system_.status_of(file_, status);
  size_ = status.size;
  if (error) return system_error("cannot read", path, error);
  return {};
}

bool InputFile::read_exact(void* into, std::size_t count) {
  if (!read_at(position_, into, count)) return false;
  position_ += count;
  return true;
}

bool InputFile::read_at(std::uint64_t offset, void* into, std::size_t count) {
  return !platform::read_exactly(system_, file_, offset, into, count);
}

std::optional<std::size_t> InputFile::read_text_block(char* into, std::size_t count) {
  if (position_ >= size_ || count == 0) return 0;
  const std::uint64_t hole_end = system_.next_data(file_, position_, size_);
  if (hole_end > position_) {
    const std::size_t zeros =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, hole_end - position_));
    std::fill_n(into, zeros, '\0');
    position_ = hole_end;
    return zeros;
  }
  std::size_t got = 0;
  if (system_.read_at(file_, position_, into, count, got)) return std::nullopt;
  position_ += got;
  // A file cut short while it is read ends there.
  if (got == 0) position_ = size_;
  return got;
}

}  // namespace zur
