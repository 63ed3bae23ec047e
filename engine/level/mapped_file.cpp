// SPDX-License-Identifier: MIT
#include "engine/level/mapped_file.h"

#include "engine/base/input_file.h"

namespace zur {

MappedFile::~MappedFile() {
  if (size_ > 0) system_.unmap(data_, size_);
}

Status MappedFile::open(const std::string& path) {
  // Opened as any source is, so that the same files are refused.
  InputFile file(system_);
  if (Status opened = file.open(path); !opened.ok()) return opened;
  if (file.size() == 0) return {};
  data_ = system_.map_read_only(file.handle(), file.size());
  if (data_ == nullptr) {
    return system_error("cannot read", path, std::make_error_code(std::errc::not_enough_memory));
  }
  size_ = static_cast<std::size_t>(file.size());
  return {};
}

}  // namespace zur
