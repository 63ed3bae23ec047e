// SPDX-License-Identifier: MIT
// The parts of the platform seam that are the same on every system: the
// real System, which hands each call on to the system's own functions, the
// current one, and what is built from their calls.
#include "engine/base/platform.h"

#include <filesystem>

#include "engine/base/platform_native.h"
#include "engine/base/utf8_path.h"

namespace zur::platform {
namespace {

namespace fs = std::filesystem;

class RealSystem final : public System {
 public:
  std::error_code file_status(const std::string& path, FileStatus& status) override {
    return native::file_status(path, status);
  }
  bool name_exists(const std::string& path) override {
    std::error_code ignored;
    return fs::exists(path_of(path), ignored) || fs::is_symlink(path_of(path), ignored);
  }
  std::string final_path(const std::string& path) override { return native::final_path(path); }
  std::error_code remove_file(const std::string& path) override {
    return native::remove_file(path);
  }
  std::error_code may_write(const std::string& path) override { return native::may_write(path); }
  std::error_code folder_entries(const std::string& folder,
                                 std::vector<FolderEntry>& entries) override {
    entries.clear();
    std::error_code error;
    fs::directory_iterator found(path_of(folder), error);
    for (; !error && found != fs::directory_iterator(); found.increment(error)) {
      std::error_code kind_error;
      entries.push_back({utf8_of(found->path().filename()), found->is_directory(kind_error)});
    }
    return error;
  }
  bool ignores_letter_case(const std::string& folder) override {
    return native::ignores_letter_case(folder);
  }

  std::error_code open_for_reading(const std::string& path, FileHandle& file) override {
    return native::open_for_reading(path, file);
  }
  std::error_code status_of(FileHandle file, FileStatus& status) override {
    return native::status_of(file, status);
  }
  std::error_code read_at(FileHandle file, std::uint64_t offset, void* into, std::size_t count,
                          std::size_t& got) override {
    return native::read_at(file, offset, into, count, got);
  }
  std::uint64_t next_data(FileHandle file, std::uint64_t from, std::uint64_t size) override {
    return native::next_data(file, from, size);
  }
  void close_file(FileHandle file) override { native::close_file(file); }
  const std::uint8_t* map_read_only(FileHandle file, std::uint64_t size) override {
    return native::map_read_only(file, size);
  }
  void unmap(const std::uint8_t* data, std::uint64_t size) override { native::unmap(data, size); }

  std::error_code create_temporary(const std::string& target,
                                   std::unique_ptr<NewFile>& file) override {
    auto created = std::make_unique<native::TemporaryFile>();
    const std::error_code error = created->create(target);
    if (!error) file = std::move(created);
    return error;
  }
  void remove_stale_temporaries(const std::string& target) override {
    native::remove_stale_temporaries(target);
  }
};

RealSystem real;
System* current = &real;

// The seam's own reason, worded alike on every system.
class NotARegularFile final : public std::error_category {
 public:
  const char* name() const noexcept override { return "file kind"; }
  std::string message(int) const override { return "not a regular file"; }
};

}  // namespace

std::error_code not_a_regular_file() {
  static const NotARegularFile category;
  return {1, category};
}

System& current_system() {
  return *current;
}

SystemOverride::SystemOverride(System& stand_in) : before_(current) {
  current = &stand_in;
}

SystemOverride::~SystemOverride() {
  current = before_;
}

bool exists(const std::string& path) {
  FileStatus status;
  return !file_status(path, status) && status.kind != FileKind::kMissing;
}

std::string comparable_path(const std::string& path) {
  const fs::path target = path_of(final_path(path));
  std::error_code ignored;
  const fs::path folder =
      fs::weakly_canonical(fs::absolute(target, ignored).parent_path(), ignored);
  return utf8_of((folder / target.filename()).lexically_normal());
}

namespace native {

std::error_code TemporaryFile::read_at(std::uint64_t offset, void* into, std::size_t count) {
  auto* bytes = static_cast<std::uint8_t*>(into);
  while (count > 0) {
    std::size_t got = 0;
    if (const std::error_code error = native::read_at(file_, offset, bytes, count, got)) {
      return error;
    }
    if (got == 0) return std::make_error_code(std::errc::io_error);
    bytes += got;
    offset += got;
    count -= got;
  }
  return {};
}

}  // namespace native
}  // namespace zur::platform
