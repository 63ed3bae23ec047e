// SPDX-License-Identifier: MIT
// The system the engine reads and writes files through. The options of every
// call that reaches files name one, the system the program runs on unless
// the front end gives its own: one with files of its own (the page's
// worker) implements this interface, and a test's stand-in derives from
// SystemWrapper to fail on purpose. Paths are UTF-8. Failures are
// std::error_code values; those with an errno equivalent compare equal to
// std::errc values on every system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

namespace zur::platform {

// A descriptor on POSIX, a HANDLE on Windows.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

enum class FileKind { kMissing, kRegular, kFolder, kPipe, kDevice, kOther };

// Which file a path names, whichever path: device and inode, or volume
// serial number and file index.
struct FileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity&) const = default;
};

struct FileStatus {
  FileKind kind = FileKind::kMissing;
  FileIdentity identity;
  std::uint64_t size = 0;
};

// The reason given for a file that is there but is not a regular file.
std::error_code not_a_regular_file();

// A name in a folder, and whether it names a folder (links followed).
struct FolderEntry {
  std::string name;
  bool folder = false;
};

// A new file in the folder of the file it is to replace, hidden, and removed
// when the object goes without put_in_place() or when the program is
// interrupted (SIGINT, SIGTERM, SIGHUP; Ctrl+C, Ctrl+Break or the console
// closing), so no interruption leaves it behind. Made by System.
class NewFile {
 public:
  NewFile() = default;
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  virtual ~NewFile() = default;

  virtual std::error_code write_at(std::uint64_t offset, const void* data, std::size_t count) = 0;
  // Reads back exactly `count` bytes written before.
  virtual std::error_code read_at(std::uint64_t offset, void* into, std::size_t count) = 0;

  // Gives it the permission bits of the existing file `target`.
  virtual void copy_permissions_of(const std::string& target) = 0;

  // Cache hints for a large file, no-ops where the system has none: the
  // bytes up to `end` may go to the disk now, without waiting for them; the
  // bytes up to `end` are waited for and dropped from the file cache.
  virtual void start_write_back(std::uint64_t from, std::uint64_t end) = 0;
  virtual void drop_from_cache(std::uint64_t from, std::uint64_t end) = 0;

  // Closes the file and puts it at `target` (a final path), replacing what
  // is there; with `replace` false, fails with std::errc::file_exists when
  // the name exists, even one that appears meanwhile. On failure the file is
  // removed and `target` is as it was. Called once, as the last call.
  virtual std::error_code put_in_place(const std::string& target, bool replace) = 0;
};

// The file operations of a system: default_system() for the one the
// program runs on, or a test's stand-in.
class System {
 public:
  virtual ~System() = default;

  // ---- Paths

  // The file that `path` names, symbolic links followed; kind kMissing when
  // there is none. A device name (Windows' NUL, COM1, ...) is a kDevice and
  // is never opened to find out.
  virtual std::error_code file_status(const std::string& path, FileStatus& status) = 0;
  // Whether anything has the name `path`, a dangling symbolic link too.
  virtual bool name_exists(const std::string& path) = 0;
  // The path that writing through `path` reaches: symbolic links followed, a
  // relative one from the folder that holds it. The file need not exist.
  virtual std::string final_path(const std::string& path) = 0;
  virtual std::error_code remove_file(const std::string& path) = 0;
  // Whether this program may write the existing file `path` (a read-only
  // file is refused, even where the system would let it be replaced).
  virtual std::error_code may_write(const std::string& path) = 0;
  // The names in `folder`, "." and ".." left out, in no particular order.
  virtual std::error_code folder_entries(const std::string& folder,
                                         std::vector<FolderEntry>& entries) = 0;
  // Whether the file system that holds `folder` takes names that differ only
  // in letter case for the same name.
  virtual bool ignores_letter_case(const std::string& folder) = 0;

  // ---- Reading

  // Opens a regular file for reading; anything else (pipe, device, folder)
  // is refused with not_a_regular_file() without waiting on it.
  virtual std::error_code open_for_reading(const std::string& path, FileHandle& file) = 0;
  virtual std::error_code status_of(FileHandle file, FileStatus& status) = 0;
  // Reads up to `count` bytes at `offset`: `got` is 0 only at the file's end.
  virtual std::error_code read_at(FileHandle file, std::uint64_t offset, void* into,
                                  std::size_t count, std::size_t& got) = 0;
  // The first offset from `from` on that may hold data: a hole of a sparse
  // file is skipped where the system can tell, `size` when only a hole is
  // left.
  virtual std::uint64_t next_data(FileHandle file, std::uint64_t from, std::uint64_t size) = 0;
  virtual void close_file(FileHandle file) = 0;
  // The first `size` bytes of `file`, mapped read-only; null when the system
  // cannot map them. Stays mapped after the file is closed, until unmap().
  virtual const std::uint8_t* map_read_only(FileHandle file, std::uint64_t size) = 0;
  virtual void unmap(const std::uint8_t* data, std::uint64_t size) = 0;

  // ---- New files that become output files

  // `target` is a final path (final_path()); its folder takes the file.
  virtual std::error_code create_temporary(const std::string& target,
                                           std::unique_ptr<NewFile>& file) = 0;
  // Removes hidden temporary files that a hard kill left beside `target`
  // (those not in use by another program); harmless when there are none.
  virtual void remove_stale_temporaries(const std::string& target) = 0;
};

// A System that hands every call on to `target`, which must outlive it: a
// stand-in derives from it and overrides only the calls it changes.
class SystemWrapper : public System {
 public:
  explicit SystemWrapper(System& target) : target_(target) {}

  std::error_code file_status(const std::string& path, FileStatus& status) override {
    return target_.file_status(path, status);
  }
  bool name_exists(const std::string& path) override { return target_.name_exists(path); }
  std::string final_path(const std::string& path) override { return target_.final_path(path); }
  std::error_code remove_file(const std::string& path) override {
    return target_.remove_file(path);
  }
  std::error_code may_write(const std::string& path) override { return target_.may_write(path); }
  std::error_code folder_entries(const std::string& folder,
                                 std::vector<FolderEntry>& entries) override {
    return target_.folder_entries(folder, entries);
  }
  bool ignores_letter_case(const std::string& folder) override {
    return target_.ignores_letter_case(folder);
  }

  std::error_code open_for_reading(const std::string& path, FileHandle& file) override {
    return target_.open_for_reading(path, file);
  }
  std::error_code status_of(FileHandle file, FileStatus& status) override {
    return target_.status_of(file, status);
  }
  std::error_code read_at(FileHandle file, std::uint64_t offset, void* into, std::size_t count,
                          std::size_t& got) override {
    return target_.read_at(file, offset, into, count, got);
  }
  std::uint64_t next_data(FileHandle file, std::uint64_t from, std::uint64_t size) override {
    return target_.next_data(file, from, size);
  }
  void close_file(FileHandle file) override { target_.close_file(file); }
  const std::uint8_t* map_read_only(FileHandle file, std::uint64_t size) override {
    return target_.map_read_only(file, size);
  }
  void unmap(const std::uint8_t* data, std::uint64_t size) override { target_.unmap(data, size); }

  std::error_code create_temporary(const std::string& target,
                                   std::unique_ptr<NewFile>& file) override {
    return target_.create_temporary(target, file);
  }
  void remove_stale_temporaries(const std::string& target) override {
    target_.remove_stale_temporaries(target);
  }

 private:
  System& target_;
};

// The system the program runs on.
System& default_system();

}  // namespace zur::platform
