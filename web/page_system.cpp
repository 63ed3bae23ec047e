// SPDX-License-Identifier: MIT
#include "page_system.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <new>
#include <set>

namespace zur::web {
namespace {

namespace fs = std::filesystem;
using platform::FileKind;

// The dropped files' and the written files' identities are each on a
// volume of their own, which no file of the wrapped system is on.
constexpr std::uint64_t kDroppedVolume = ~std::uint64_t{0};
constexpr std::uint64_t kWrittenVolume = kDroppedVolume - 1;

// The one name of whatever `path` names: absolute, without "." or "..".
std::string absolute_name(const std::string& path) {
  std::error_code ignored;  // only when there is no working folder
  std::string name = fs::absolute(path, ignored).lexically_normal().generic_string();
  while (name.size() > 1 && name.ends_with('/')) name.pop_back();
  return name;
}

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

// The page's files have no permission bits and no cache.
class PageNewFile final : public platform::NewFile {
 public:
  explicit PageNewFile(PageSystem& system) : system_(system) {}

  std::error_code write_at(std::uint64_t offset, const void* data, std::size_t count) override {
    return file_->write_at(offset, data, count);
  }
  std::error_code read_at(std::uint64_t offset, void* into, std::size_t count) override {
    return file_->read_at(offset, into, count);
  }
  void copy_permissions_of(const std::string&) override {}
  void start_write_back(std::uint64_t, std::uint64_t) override {}
  void drop_from_cache(std::uint64_t, std::uint64_t) override {}
  std::error_code put_in_place(const std::string& target, bool replace) override {
    return system_.put_in_place(target, std::move(file_), replace);
  }

 private:
  PageSystem& system_;
  std::shared_ptr<WrittenFile> file_ = std::make_shared<WrittenFile>();
};

PageSystem::PageSystem(platform::System& wrapped, DroppedFiles& dropped)
    : SystemWrapper(wrapped), wrapped_(wrapped), dropped_(dropped) {}

const PageSystem::Written* PageSystem::written(const std::string& path) const {
  const auto found = written_.find(absolute_name(path));
  return found == written_.end() ? nullptr : &found->second;
}

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

// Below kNoFile, where the wrapped system's handles never are.
platform::FileHandle PageSystem::open(Opened opened) {
  opened_.emplace(--last_handle_, std::move(opened));
  return last_handle_;
}

PageSystem::Opened* PageSystem::opened(platform::FileHandle file) {
  const auto found = opened_.find(file);
  return found == opened_.end() ? nullptr : &found->second;
}

std::error_code PageSystem::file_status(const std::string& path, platform::FileStatus& status) {
  if (const Written* file = written(path)) {
    status = {FileKind::kRegular, {kWrittenVolume, file->identity}, file->file->size()};
    return {};
  }
  if (const std::error_code error = wrapped_.file_status(path, status)) return error;
  if (status.kind == FileKind::kMissing) status = dropped_status(path);
  return {};
}

bool PageSystem::name_exists(const std::string& path) {
  return written(path) || wrapped_.name_exists(path) ||
         dropped_status(path).kind != FileKind::kMissing;
}

// A dropped file is the person's own and stays as it is: removing it
// removes what was written over it, and is not refused.
std::error_code PageSystem::remove_file(const std::string& path) {
  if (written_.erase(absolute_name(path)) != 0) return {};
  const std::error_code error = wrapped_.remove_file(path);
  if (error && dropped_status(path).kind == FileKind::kRegular) return {};
  return error;
}

// A file written at a dropped file's path goes over it, not into it.
std::error_code PageSystem::may_write(const std::string& path) {
  if (written(path)) return {};
  if (!wrapped_.name_exists(path) && dropped_status(path).kind == FileKind::kRegular) return {};
  return wrapped_.may_write(path);
}

std::error_code PageSystem::folder_entries(const std::string& folder,
                                           std::vector<platform::FolderEntry>& entries) {
  const std::error_code error = wrapped_.folder_entries(folder, entries);
  if (error) entries.clear();
  std::set<std::string> listed;
  for (const platform::FolderEntry& entry : entries) listed.insert(entry.name);
  bool any = false;
  const auto add = [&](std::string name, bool is_folder) {
    any = true;
    if (listed.insert(name).second) entries.push_back({std::move(name), is_folder});
  };
  const fs::path inside = absolute_name(folder);
  for (const auto& [name, file] : written_) {
    const fs::path path(name);
    if (path.parent_path() == inside) add(path.filename().generic_string(), false);
  }
  if (const std::optional<std::string> relative = dropped_path(folder)) {
    for (const std::string& dropped : dropped_.paths()) {
      if (!below(dropped, *relative)) continue;
      const std::size_t start = relative->empty() ? 0 : relative->size() + 1;
      const std::size_t slash = dropped.find('/', start);
      add(dropped.substr(start, slash - start), slash != std::string::npos);
    }
  }
  return any ? std::error_code{} : error;
}

std::error_code PageSystem::open_for_reading(const std::string& path, platform::FileHandle& file) {
  file = platform::kNoFile;
  if (const Written* found = written(path)) {
    platform::FileStatus status;
    file_status(path, status);
    file = open({0, found->file, status});
    return {};
  }
  if (wrapped_.name_exists(path)) return wrapped_.open_for_reading(path, file);
  const platform::FileStatus status = dropped_status(path);
  if (status.kind == FileKind::kMissing) return wrapped_.open_for_reading(path, file);
  if (status.kind != FileKind::kRegular) return platform::not_a_regular_file();
  const std::uint32_t number = dropped_.open(*dropped_path(path));
  if (number == 0) return std::make_error_code(std::errc::no_such_file_or_directory);
  file = open({number, nullptr, status});
  return {};
}

std::error_code PageSystem::status_of(platform::FileHandle file, platform::FileStatus& status) {
  const Opened* held = opened(file);
  if (!held) return wrapped_.status_of(file, status);
  status = held->status;
  return {};
}

// A dropped file saved again since it was dropped can no longer be read:
// an input or output error, as of a disk that fails.
std::error_code PageSystem::read_at(platform::FileHandle file, std::uint64_t offset, void* into,
                                    std::size_t count, std::size_t& got) {
  const Opened* held = opened(file);
  if (!held) return wrapped_.read_at(file, offset, into, count, got);
  if (held->written) {
    const std::uint64_t size = held->written->size();
    got = static_cast<std::size_t>(std::min<std::uint64_t>(count, size - std::min(offset, size)));
    return held->written->read_at(offset, into, got);
  }
  const std::optional<std::size_t> read = dropped_.read(held->file, offset, into, count);
  if (!read) return std::make_error_code(std::errc::io_error);
  got = *read;
  return {};
}

std::uint64_t PageSystem::next_data(platform::FileHandle file, std::uint64_t from,
                                    std::uint64_t size) {
  return opened(file) ? from : wrapped_.next_data(file, from, size);
}

void PageSystem::close_file(platform::FileHandle file) {
  const Opened* held = opened(file);
  if (!held) return wrapped_.close_file(file);
  if (held->file != 0) dropped_.close(held->file);
  opened_.erase(file);
}

// Neither a dropped nor a written file can be mapped: its bytes are copied,
// until unmap().
const std::uint8_t* PageSystem::map_read_only(platform::FileHandle file, std::uint64_t size) {
  if (!opened(file)) return wrapped_.map_read_only(file, size);
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
  if (copies_.erase(data) == 0) wrapped_.unmap(data, size);
}

// Into a folder that is there: the wrapped system's or one the dropped
// files make.
std::error_code PageSystem::create_temporary(const std::string& target,
                                             std::unique_ptr<platform::NewFile>& file) {
  platform::FileStatus folder;
  const std::string name = absolute_name(target);
  if (const std::error_code error = file_status(fs::path(name).parent_path().string(), folder)) {
    return error;
  }
  if (folder.kind == FileKind::kMissing) {
    return std::make_error_code(std::errc::no_such_file_or_directory);
  }
  if (folder.kind != FileKind::kFolder) return std::make_error_code(std::errc::not_a_directory);
  file = std::make_unique<PageNewFile>(*this);
  return {};
}

// Replaces a file of the wrapped system's as a rename would; one of the
// dropped files stays beneath.
std::error_code PageSystem::put_in_place(const std::string& target,
                                         std::shared_ptr<const WrittenFile> file, bool replace) {
  if (!replace && name_exists(target)) return std::make_error_code(std::errc::file_exists);
  platform::FileStatus there;
  if (const std::error_code error = file_status(target, there)) return error;
  if (there.kind == FileKind::kFolder) return std::make_error_code(std::errc::is_a_directory);
  if (wrapped_.name_exists(target)) {
    if (const std::error_code error = wrapped_.remove_file(target)) return error;
  }
  written_[absolute_name(target)] = {std::move(file), ++last_identity_};
  return {};
}

std::shared_ptr<const WrittenFile> PageSystem::take_written(const std::string& path) {
  auto taken = written_.extract(absolute_name(path));
  return taken ? std::move(taken.mapped().file) : nullptr;
}

}  // namespace zur::web
