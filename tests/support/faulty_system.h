// SPDX-License-Identifier: MIT
// A stand-in for the system that does what the real one does, except for
// the faults a test asks for: a write that fails at byte N (a full disk), a
// read that ends short or fails at byte N, a new file that cannot be made,
// a file that may not be written, a put-in-place or a removal that fails,
// and an interruption before step K; it can also stand in for what the file
// system does with letter case and what its folders hold. It wraps the real
// system and overrides only the calls its faults change; a test hands it to
// the engine as the system to use, and the engine meets the faults wherever
// it reaches the system.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/base/platform.h"

namespace zur::test {

class FaultySystem final : public platform::SystemWrapper {
 public:
  FaultySystem();
  FaultySystem(const FaultySystem&) = delete;
  FaultySystem& operator=(const FaultySystem&) = delete;

  // New files take no byte at or past `at`: a write across it writes the
  // bytes before it, then fails with `error`.
  void fail_writes_at(std::uint64_t at,
                      std::error_code error = std::make_error_code(std::errc::no_space_on_device));
  // Files opened for reading hold no byte at or past `at` for a reader:
  // there a read fails with `error`, or, without one, finds the file's end
  // as though it had been cut short.
  void fail_reads_at(std::uint64_t at, std::error_code error = {});

  // Each fault below is off while it holds no error.
  std::error_code create_error;        // no new file can be made (a folder that takes none)
  std::error_code may_write_error;     // no existing file may be written (read-only)
  std::error_code put_in_place_error;  // the new file is removed, the target as it was
  std::error_code remove_error;
  // What the file system is said to do with letter case, when not its own.
  std::optional<bool> ignores_case;
  // Every folder holds exactly these files, names spelled as they stand:
  // names differing only in letter case are apart, on any system.
  std::optional<std::vector<std::string>> listed_files;

  // The steps that change files, counted from 1: making a new file, each
  // write to one, putting one in place, removing a file. From step `step`
  // on each fails with std::errc::interrupted, as if the program had been
  // interrupted just before it; new files are still removed, as the
  // interrupt handler removes them.
  void interrupt_at_step(int step) { interrupted_at_ = step; }
  // Called before each step with its number, fault or not.
  std::function<void(int step)> before_step;
  int steps() const { return steps_; }

  std::error_code file_status(const std::string& path, platform::FileStatus& status) override;
  bool name_exists(const std::string& path) override;
  std::error_code remove_file(const std::string& path) override;
  std::error_code may_write(const std::string& path) override;
  std::error_code folder_entries(const std::string& folder,
                                 std::vector<platform::FolderEntry>& entries) override;
  bool ignores_letter_case(const std::string& folder) override;
  std::error_code read_at(platform::FileHandle file, std::uint64_t offset, void* into,
                          std::size_t count, std::size_t& got) override;
  std::error_code create_temporary(const std::string& target,
                                   std::unique_ptr<platform::NewFile>& file) override;

 private:
  friend class FaultyNewFile;

  // Counts a step that changes files; the error it is to fail with.
  std::error_code step();
  // Whether the path's name is one of listed_files.
  bool listed(const std::string& path) const;

  std::optional<std::uint64_t> write_limit_;
  std::error_code write_error_;
  std::optional<std::uint64_t> read_limit_;
  std::error_code read_error_;
  std::optional<int> interrupted_at_;
  int steps_ = 0;
};

}  // namespace zur::test
