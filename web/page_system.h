// SPDX-License-Identifier: MIT
// The system the engine works with in the page's worker: the files the
// person dropped, under the paths they were dropped with (relative to the
// working folder, their folders made of those paths), answered from the
// worker's table of them; the files the engine writes, held by the page
// system itself (written_file.h) until the worker takes them out; and the
// system it wraps, which holds the folders they go into and answers every
// other path. A file written at a dropped file's path lies over it while
// it is there; a dropped file itself is never changed. Both objects handed
// in must outlive the page system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "written_file.h"
#include "zur/system.h"

namespace zur::web {

// The dropped files as the worker holds them. Paths are as dropped:
// relative, "/" between names, no "." or ".." in them.
class DroppedFiles {
 public:
  struct Found {
    std::uint64_t identity = 0;  // the same for as long as the same file is there
    std::uint64_t size = 0;
  };

  virtual ~DroppedFiles() = default;

  virtual std::vector<std::string> paths() = 0;
  virtual std::optional<Found> find(const std::string& path) = 0;
  // A number to read the file at `path` by, never 0; 0 when none is there.
  // The file opened is read until closed, even once another replaces it.
  virtual std::uint32_t open(const std::string& path) = 0;
  // Reads up to `count` bytes at `offset`: the count read, 0 only at the
  // file's end; nothing when the file can no longer be read.
  virtual std::optional<std::size_t> read(std::uint32_t file, std::uint64_t offset, void* into,
                                          std::size_t count) = 0;
  virtual void close(std::uint32_t file) = 0;
};

// Calls it has nothing to add to go to the wrapped system as they are.
class PageSystem final : public platform::SystemWrapper {
 public:
  PageSystem(platform::System& wrapped, DroppedFiles& dropped);

  // Takes the file written at `path` out of the system, null when no file
  // was written there.
  std::shared_ptr<const WrittenFile> take_written(const std::string& path);

  std::error_code file_status(const std::string& path, platform::FileStatus& status) override;
  bool name_exists(const std::string& path) override;
  std::error_code remove_file(const std::string& path) override;
  std::error_code may_write(const std::string& path) override;
  std::error_code folder_entries(const std::string& folder,
                                 std::vector<platform::FolderEntry>& entries) override;

  std::error_code open_for_reading(const std::string& path, platform::FileHandle& file) override;
  std::error_code status_of(platform::FileHandle file, platform::FileStatus& status) override;
  std::error_code read_at(platform::FileHandle file, std::uint64_t offset, void* into,
                          std::size_t count, std::size_t& got) override;
  std::uint64_t next_data(platform::FileHandle file, std::uint64_t from,
                          std::uint64_t size) override;
  void close_file(platform::FileHandle file) override;
  const std::uint8_t* map_read_only(platform::FileHandle file, std::uint64_t size) override;
  void unmap(const std::uint8_t* data, std::uint64_t size) override;

  std::error_code create_temporary(const std::string& target,
                                   std::unique_ptr<platform::NewFile>& file) override;

 private:
  friend class PageNewFile;

  struct Written {
    std::shared_ptr<const WrittenFile> file;
    std::uint64_t identity = 0;
  };
  struct Opened {
    std::uint32_t file = 0;                      // the dropped files' number for it, or 0
    std::shared_ptr<const WrittenFile> written;  // or the written file, read until closed
    platform::FileStatus status;
  };

  std::error_code put_in_place(const std::string& target, std::shared_ptr<const WrittenFile> file,
                               bool replace);
  const Written* written(const std::string& path) const;
  // What the dropped files hold at `path`: a file, a folder some are in, or
  // nothing.
  platform::FileStatus dropped_status(const std::string& path);
  platform::FileHandle open(Opened opened);
  Opened* opened(platform::FileHandle file);

  platform::System& wrapped_;
  DroppedFiles& dropped_;
  // By the absolute path without "." or "..": the same file, whichever path
  // names it.
  std::map<std::string, Written> written_;
  std::uint64_t last_identity_ = 0;
  std::map<platform::FileHandle, Opened> opened_;
  platform::FileHandle last_handle_ = platform::kNoFile;
  std::map<const std::uint8_t*, std::unique_ptr<std::uint8_t[]>> copies_;
};

}  // namespace zur::web
