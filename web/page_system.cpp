// SPDX-License-Identifier: MIT
#include "page_system.h"

#include <filesystem>
#include <limits>
#include <new>
#include <set>

namespace zur::web {
namespace {

namespace fs = std::filesystem;
using platform::FileKind;

// The dropped files' identities are on a volume of their own, which no
// file of the wrapped system is on.
constexpr std::uint64_t kDroppedVolume = ~std::uint64_t{0};

// `path` as a dropped file's path would name it, when it is below the
// working folder: "" for the working folder itself.
std::optional<std::string> dropped_path(const std::string& path) {
  if (path.empty()) return std::nullopt;
  fs::path given(path);
  if (given.is_absolute()) {
    std::error_code error;
    given = given.lexically_relative(fs::current_path(error));
    if (error || given.empty()) return std::nullopt;
  }
  std::string relative = given.lexically_normal().generic_string();
  while (relative.ends_with('/')) relative.pop_back();
  if (relative == ".") relative.clear();
  if (relative == ".." || relative.starts_with("../")) return std::nullopt;
  return relative;
}

// Whether the dropped file `path` is in `folder` or in a folder below it.
bool below(const std::string& path, const std::string& folder) {
  return folder.empty() ||
         (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/');
}

}  // namespace

PageSystem::PageSystem(platform::System& written, DroppedFiles& dropped)
    : SystemWrapper(written), written_(written), dropped_(dropped) {}

platform::FileStatus PageSystem::dropped_status(const std::string& path) {
  platform::FileStatus status;
  const std::optional<std::string> relative = dropped_path(path);
  if (!relative) return status;
  if (const std::optional<DroppedFiles::Found> found = dropped_.find(*relative)) {
    status.kind = FileKind::kRegular;
    status.identity = {kDroppedVolume, found->identity};
    status.size = found->size;
    return status;
  }
  for (const std::string& dropped : dropped_.paths()) {
    if (below(dropped, *relative)) {
      status.kind = FileKind::kFolder;
      break;
    }
  }
  return status;
}

PageSystem::Opened* PageSystem::opened(platform::FileHandle file) {
  const auto found = opened_.find(file);
  return found == opened_.end() ? nullptr : &found->second;
}

std::error_code PageSystem::file_status(const std::string& path, platform::FileStatus& status) {
  if (const std::error_code error = written_.file_status(path, status)) return error;
  if (status.kind == FileKind::kMissing) status = dropped_status(path);
  return {};
}

bool PageSystem::name_exists(const std::string& path) {
  return written_.name_exists(path) || dropped_status(path).kind != FileKind::kMissing;
}

// A dropped file is the person's own and stays as it is: removing it
// removes what was written over it, and is not refused.
std::error_code PageSystem::remove_file(const std::string& path) {
  const std::error_code error = written_.remove_file(path);
  if (error && dropped_status(path).kind == FileKind::kRegular) return {};
  return error;
}

// A file written at a dropped file's path goes over it, not into it.
std::error_code PageSystem::may_write(const std::string& path) {
  if (!written_.name_exists(path) && dropped_status(path).kind == FileKind::kRegular) return {};
  return written_.may_write(path);
}

std::error_code PageSystem::folder_entries(const std::string& folder,
                                           std::vector<platform::FolderEntry>& entries) {
  const std::error_code error = written_.folder_entries(folder, entries);
  if (error) entries.clear();
  const std::optional<std::string> relative = dropped_path(folder);
  if (!relative) return error;
  std::set<std::string> listed;
  for (const platform::FolderEntry& entry : entries) listed.insert(entry.name);
  bool any = false;
  for (const std::string& dropped : dropped_.paths()) {
    if (!below(dropped, *relative)) continue;
    any = true;
    const std::size_t start = relative->empty() ? 0 : relative->size() + 1;
    const std::size_t slash = dropped.find('/', start);
    std::string name = dropped.substr(start, slash - start);
    if (listed.insert(name).second)
      entries.push_back({std::move(name), slash != std::string::npos});
  }
  return any ? std::error_code{} : error;
}

std::error_code PageSystem::open_for_reading(const std::string& path, platform::FileHandle& file) {
  file = platform::kNoFile;
  if (written_.name_exists(path)) return written_.open_for_reading(path, file);
  const platform::FileStatus status = dropped_status(path);
  if (status.kind == FileKind::kMissing) return written_.open_for_reading(path, file);
  if (status.kind != FileKind::kRegular) return platform::not_a_regular_file();
  const std::uint32_t number = dropped_.open(*dropped_path(path));
  if (number == 0) return std::make_error_code(std::errc::no_such_file_or_directory);
  // Below kNoFile, where the wrapped system's handles never are.
  file = --last_handle_;
  opened_.emplace(file, Opened{number, status});
  return {};
}

std::error_code PageSystem::status_of(platform::FileHandle file, platform::FileStatus& status) {
  const Opened* held = opened(file);
  if (!held) return written_.status_of(file, status);
  status = held->status;
  return {};
}

// A dropped file saved again since it was dropped can no longer be read:
// an input or output error, as of a disk that fails.
std::error_code PageSystem::read_at(platform::FileHandle file, std::uint64_t offset, void* into,
                                    std::size_t count, std::size_t& got) {
  const Opened* held = opened(file);
  if (!held) return written_.read_at(file, offset, into, count, got);
  const std::optional<std::size_t> read = dropped_.read(held->file, offset, into, count);
  if (!read) return std::make_error_code(std::errc::io_error);
  got = *read;
  return {};
}

std::uint64_t PageSystem::next_data(platform::FileHandle file, std::uint64_t from,
                                    std::uint64_t size) {
  return opened(file) ? from : written_.next_data(file, from, size);
}

void PageSystem::close_file(platform::FileHandle file) {
  const Opened* held = opened(file);
  if (!held) return written_.close_file(file);
  dropped_.close(held->file);
  opened_.erase(file);
}

// A dropped file cannot be mapped: its bytes are copied, until unmap().
const std::uint8_t* PageSystem::map_read_only(platform::FileHandle file, std::uint64_t size) {
  if (!opened(file)) return written_.map_read_only(file, size);
  if (size > std::numeric_limits<std::size_t>::max()) return nullptr;
  std::unique_ptr<std::uint8_t[]> copy(new (std::nothrow) std::uint8_t[size]);
  if (!copy) return nullptr;
  for (std::uint64_t done = 0; done < size;) {
    std::size_t got = 0;
    if (read_at(file, done, copy.get() + done, size - done, got) || got == 0) return nullptr;
    done += got;
  }
  const std::uint8_t* data = copy.get();
  copies_.emplace(data, std::move(copy));
  return data;
}

void PageSystem::unmap(const std::uint8_t* data, std::uint64_t size) {
  if (copies_.erase(data) == 0) written_.unmap(data, size);
}

// What is written beside dropped files goes into the folder of the same
// path in the wrapped system, made when first written into.
std::error_code PageSystem::create_temporary(const std::string& target,
                                             std::unique_ptr<platform::NewFile>& file) {
  const std::string folder = fs::path(target).parent_path().generic_string();
  if (!written_.name_exists(folder) && dropped_status(folder).kind == FileKind::kFolder) {
    std::error_code ignored;  // making the file then fails with the reason
    fs::create_directories(folder, ignored);
  }
  return written_.create_temporary(target, file);
}

}  // namespace zur::web
