// SPDX-License-Identifier: MIT
#include "engine/level/mapped_file.h"

#include <sys/mman.h>

#include "engine/level/shared/input_file.h"

namespace zur {

MappedFile::~MappedFile() {
  if (size_ > 0) ::munmap(const_cast<std::uint8_t*>(data_), size_);
}

bool MappedFile::open(const std::string& path) {
  // Opened as any source is, so that the same files are refused.
  InputFile file;
  if (!file.open(path)) return false;
  if (file.size() == 0) return true;
  const auto size = static_cast<std::size_t>(file.size());
  void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.descriptor(), 0);
  if (data == MAP_FAILED) return false;
  data_ = static_cast<const std::uint8_t*>(data);
  size_ = size;
  return true;
}

}  // namespace zur
