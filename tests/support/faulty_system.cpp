// SPDX-License-Identifier: MIT
#include "tests/support/faulty_system.h"

#include <algorithm>
#include <utility>

#include "zur/paths.h"

namespace zur::test {

// A new file of the real system whose writes and putting in place meet the
// stand-in's faults; destroyed, it removes the real one whatever the faults.
class FaultyNewFile final : public platform::NewFile {
 public:
  FaultyNewFile(FaultySystem& system, std::unique_ptr<platform::NewFile> real)
      : system_(system), real_(std::move(real)) {}

  std::error_code write_at(std::uint64_t offset, const void* data, std::size_t count) override {
    if (const std::error_code error = system_.step()) return error;
    const std::optional<std::uint64_t> limit = system_.write_limit_;
    if (!limit || offset + count <= *limit) return real_->write_at(offset, data, count);
    if (offset < *limit) {
      const std::error_code error =
          real_->write_at(offset, data, static_cast<std::size_t>(*limit - offset));
      if (error) return error;
    }
    return system_.write_error_;
  }
  std::error_code read_at(std::uint64_t offset, void* into, std::size_t count) override {
    return real_->read_at(offset, into, count);
  }
  void copy_permissions_of(const std::string& target) override {
    real_->copy_permissions_of(target);
  }
  void start_write_back(std::uint64_t from, std::uint64_t end) override {
    real_->start_write_back(from, end);
  }
  void drop_from_cache(std::uint64_t from, std::uint64_t end) override {
    real_->drop_from_cache(from, end);
  }
  std::error_code put_in_place(const std::string& target, bool replace) override {
    std::error_code error = system_.step();
    if (!error) error = system_.put_in_place_error;
    // A failed put-in-place leaves no file, as the real one does.
    if (error) return error;
    return std::exchange(real_, nullptr)->put_in_place(target, replace);
  }

 private:
  FaultySystem& system_;
  std::unique_ptr<platform::NewFile> real_;
};

FaultySystem::FaultySystem() : SystemWrapper(platform::default_system()) {}

void FaultySystem::fail_writes_at(std::uint64_t at, std::error_code error) {
  write_limit_ = at;
  write_error_ = error;
}

void FaultySystem::fail_reads_at(std::uint64_t at, std::error_code error) {
  read_limit_ = at;
  read_error_ = error;
}

std::error_code FaultySystem::step() {
  ++steps_;
  if (before_step) before_step(steps_);
  if (interrupted_at_ && steps_ >= *interrupted_at_) {
    return std::make_error_code(std::errc::interrupted);
  }
  return {};
}

bool FaultySystem::listed(const std::string& path) const {
  const std::string name = path.substr(name_start(path));
  return std::find(listed_files->begin(), listed_files->end(), name) != listed_files->end();
}

std::error_code FaultySystem::file_status(const std::string& path, platform::FileStatus& status) {
  if (!listed_files) return SystemWrapper::file_status(path, status);
  status = {};
  if (listed(path)) status.kind = platform::FileKind::kRegular;
  return {};
}

bool FaultySystem::name_exists(const std::string& path) {
  return listed_files ? listed(path) : SystemWrapper::name_exists(path);
}

std::error_code FaultySystem::remove_file(const std::string& path) {
  if (const std::error_code error = step()) return error;
  if (remove_error) return remove_error;
  return SystemWrapper::remove_file(path);
}

std::error_code FaultySystem::may_write(const std::string& path) {
  if (may_write_error) return may_write_error;
  return SystemWrapper::may_write(path);
}

std::error_code FaultySystem::folder_entries(const std::string& folder,
                                             std::vector<platform::FolderEntry>& entries) {
  if (!listed_files) return SystemWrapper::folder_entries(folder, entries);
  entries.clear();
  for (const std::string& name : *listed_files) entries.push_back({.name = name, .folder = false});
  return {};
}

bool FaultySystem::ignores_letter_case(const std::string& folder) {
  return ignores_case.value_or(SystemWrapper::ignores_letter_case(folder));
}

std::error_code FaultySystem::read_at(platform::FileHandle file, std::uint64_t offset, void* into,
                                      std::size_t count, std::size_t& got) {
  if (read_limit_ && offset + count > *read_limit_) {
    got = 0;
    if (offset >= *read_limit_) return read_error_;
    count = static_cast<std::size_t>(*read_limit_ - offset);
  }
  return SystemWrapper::read_at(file, offset, into, count, got);
}

std::error_code FaultySystem::create_temporary(const std::string& target,
                                               std::unique_ptr<platform::NewFile>& file) {
  if (const std::error_code error = step()) return error;
  if (create_error) return create_error;
  std::unique_ptr<platform::NewFile> real;
  const std::error_code error = SystemWrapper::create_temporary(target, real);
  if (!error) file = std::make_unique<FaultyNewFile>(*this, std::move(real));
  return error;
}

}  // namespace zur::test
