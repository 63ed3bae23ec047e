// SPDX-License-Identifier: MIT
// The parts of the platform seam that are the same on every system: what is
// built from a System's calls, and what every system does through the
// standard library.
#include "engine/base/platform.h"

#include <filesystem>

#include "engine/base/platform_portable.h"
#include "engine/base/utf8_path.h"

namespace zur::platform {
namespace {

namespace fs = std::filesystem;

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

std::error_code read_exactly(System& system, FileHandle file, std::uint64_t offset, void* into,
                             std::size_t count) {
  auto* bytes = static_cast<std::uint8_t*>(into);
  while (count > 0) {
    std::size_t got = 0;
    if (const std::error_code error = system.read_at(file, offset, bytes, count, got)) {
      return error;
    }
    if (got == 0) return std::make_error_code(std::errc::io_error);
    bytes += got;
    offset += got;
    count -= got;
  }
  return {};
}

bool exists(System& system, const std::string& path) {
  FileStatus status;
  return !system.file_status(path, status) && status.kind != FileKind::kMissing;
}

std::string comparable_path(System& system, const std::string& path) {
  const fs::path target = path_of(system.final_path(path));
  std::error_code ignored;
  const fs::path folder =
      fs::weakly_canonical(fs::absolute(target, ignored).parent_path(), ignored);
  return utf8_of((folder / target.filename()).lexically_normal());
}

namespace portable {

std::error_code folder_entries(const std::string& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::error_code error;
  fs::directory_iterator found(path_of(folder), error);
  for (; !error && found != fs::directory_iterator(); found.increment(error)) {
    std::error_code kind_error;
    entries.push_back({utf8_of(found->path().filename()), found->is_directory(kind_error)});
  }
  return error;
}

bool name_exists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path_of(path), ignored) || fs::is_symlink(path_of(path), ignored);
}

}  // namespace portable
}  // namespace zur::platform
