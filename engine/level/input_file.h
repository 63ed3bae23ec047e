// Read-only access to a source file: a regular file opened in binary mode,
// closed when the object goes away. Reads either deliver every byte asked
// for or report failure, so a file that shrank while it was read is noticed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zur {

class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // False when the file does not exist, is not a regular file or cannot be
  // opened for reading.
  bool open(const std::string& path);
  std::uint64_t size() const { return size_; }
  bool read_exact(void* into, std::size_t count);
  // Reads at a position without moving the file position.
  bool read_at(std::uint64_t offset, void* into, std::size_t count);

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// The whole file as text; false when it cannot be opened or read.
bool read_text_file(const std::string& path, std::string& text);

}  // namespace zur
