// SPDX-License-Identifier: MIT
// Inside the platform seam only: the operating system's own file
// operations, which platform_posix.cpp or platform_windows.cpp defines and
// the real System of platform.cpp hands on to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/base/platform.h"

namespace zur::platform::native {

std::error_code file_status(const std::string& path, FileStatus& status);
std::string final_path(const std::string& path);
std::error_code remove_file(const std::string& path);
std::error_code may_write(const std::string& path);
bool ignores_letter_case(const std::string& folder);

std::error_code open_for_reading(const std::string& path, FileHandle& file);
std::error_code status_of(FileHandle file, FileStatus& status);
std::error_code read_at(FileHandle file, std::uint64_t offset, void* into, std::size_t count,
                        std::size_t& got);
std::uint64_t next_data(FileHandle file, std::uint64_t from, std::uint64_t size);
void close_file(FileHandle file);
const std::uint8_t* map_read_only(FileHandle file, std::uint64_t size);
void unmap(const std::uint8_t* data, std::uint64_t size);

void remove_stale_temporaries(const std::string& target);

class TemporaryFile final : public NewFile {
 public:
  TemporaryFile() = default;
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() override;

  std::error_code create(const std::string& target);
  bool is_open() const { return file_ != kNoFile; }

  std::error_code write_at(std::uint64_t offset, const void* data, std::size_t count) override;
  std::error_code read_at(std::uint64_t offset, void* into, std::size_t count) override;
  void copy_permissions_of(const std::string& target) override;
  void start_write_back(std::uint64_t from, std::uint64_t end) override;
  void drop_from_cache(std::uint64_t from, std::uint64_t end) override;
  std::error_code put_in_place(const std::string& target, bool replace) override;

  // Closes and removes the file, if still there.
  void discard();

 private:
  FileHandle file_ = kNoFile;
  std::string name_;      // empty while it has none
  bool unnamed_ = false;  // created without a name; one is given on put_in_place
};

}  // namespace zur::platform::native
