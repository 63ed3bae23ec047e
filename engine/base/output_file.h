// SPDX-License-Identifier: MIT
// Every file the tools write goes through an OutputFile, under one policy:
//
//   open(path, others) ──► write_at() ... ──► commit() ──► the file in place
//          │                    │
//          └─ refused           └─ destroyed or failed: `path` as it was
//
// - A symbolic link at `path` is followed: the file it finally names is
//   replaced and the link stays; a dangling link gets its file created where
//   it points.
// - Refused before anything is written: a target that is not a regular file
//   (pipe, device, folder), that may not be written, or that is the same file
//   as any of `others` (what the command reads, and its other outputs).
// - The bytes go to a temporary file in the target's folder, which commit()
//   puts in place whole: a kill or an interruption at any moment leaves the
//   old file or the complete new one, and no temporary file. An existing
//   file's permission bits are kept. A folder that takes no temporary file
//   refuses the output: nothing is ever written in place.
//
// This is the policy; the mechanism, the temporary file that is written and
// put in place, is a NewFile that the system the OutputFile is given makes.
// The system must outlive the OutputFile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "engine/base/error.h"
#include "engine/base/platform.h"

namespace zur {

class OutputFile {
 public:
  explicit OutputFile(platform::System& system) : system_(system) {}
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  Status open(const std::string& path, std::span<const std::string> others = {});

  // The first failure is kept; commit() then reports it and puts nothing in
  // place.
  void write_at(std::uint64_t offset, const void* data, std::size_t count);
  // Reads back exactly `count` bytes written before.
  void read_at(std::uint64_t offset, void* into, std::size_t count);
  bool failed() const { return !status_.ok(); }

  // See NewFile: hints for a large file, no-ops where unsupported.
  void start_write_back(std::uint64_t from, std::uint64_t end) {
    file_->start_write_back(from, end);
  }
  void drop_from_cache(std::uint64_t from, std::uint64_t end) { file_->drop_from_cache(from, end); }

  // Puts the file in place. With `replace` false, a file that exists at the
  // target by then, even one made meanwhile, is not overwritten: the commit
  // fails instead. Nothing is in place after a failure. Committing again
  // only repeats the answer.
  Status commit(bool replace = true);

  // The path as given to open().
  const std::string& path() const { return path_; }

 private:
  void fail(std::error_code code);

  platform::System& system_;
  std::string path_;
  std::string target_;                       // `path_` with symbolic links followed
  std::unique_ptr<platform::NewFile> file_;  // until put in place or discarded
  Status status_;
  bool committed_ = false;
};

// Whether `a` and `b` name the same file, existing or to be created.
bool same_file(platform::System& system, const std::string& a, const std::string& b);

}  // namespace zur
