// SPDX-License-Identifier: MIT
#include "engine/base/output_file.h"

namespace zur {
namespace {

constexpr std::string_view kCannotWrite = "cannot write";

Error refusal(const std::string& path, std::string reason) {
  return {std::string(kCannotWrite), path, std::move(reason), std::nullopt, {}};
}

}  // namespace

bool same_file(platform::System& system, const std::string& a, const std::string& b) {
  platform::FileStatus first, second;
  if (system.file_status(a, first) || system.file_status(b, second)) return false;
  const bool a_exists = first.kind != platform::FileKind::kMissing;
  const bool b_exists = second.kind != platform::FileKind::kMissing;
  if (a_exists && b_exists) return first.identity == second.identity;
  return !a_exists && !b_exists &&
         platform::comparable_path(system, a) == platform::comparable_path(system, b);
}

Status OutputFile::open(const std::string& path, std::span<const std::string> others) {
  path_ = path;
  status_ = {};
  committed_ = false;
  // The system would stop the name at a zero byte and write another file.
  if (path.empty() || path.find('\0') != std::string::npos) {
    return system_error(std::string(kCannotWrite), path,
                        std::make_error_code(std::errc::invalid_argument));
  }
  target_ = system_.final_path(path);
  platform::FileStatus existing;
  if (const std::error_code error = system_.file_status(target_, existing)) {
    return system_error(std::string(kCannotWrite), path, error);
  }
  const bool exists = existing.kind != platform::FileKind::kMissing;
  if (exists && existing.kind != platform::FileKind::kRegular) {
    return system_error(std::string(kCannotWrite), path, platform::not_a_regular_file());
  }
  for (const std::string& other : others) {
    if (same_file(system_, path, other)) return refusal(path, "it is the same file as " + other);
  }
  if (exists) {
    if (const std::error_code error = system_.may_write(target_)) {
      return system_error(std::string(kCannotWrite), path, error);
    }
  }
  system_.remove_stale_temporaries(target_);
  file_.reset();
  if (const std::error_code error = system_.create_temporary(target_, file_)) {
    return system_error(std::string(kCannotWrite), path, error);
  }
  if (exists) file_->copy_permissions_of(target_);
  return {};
}

void OutputFile::fail(std::error_code code) {
  if (status_.ok()) status_ = system_error(std::string(kCannotWrite), path_, code);
}

void OutputFile::write_at(std::uint64_t offset, const void* data, std::size_t count) {
  if (!status_.ok() || count == 0) return;
  if (const std::error_code error = file_->write_at(offset, data, count)) fail(error);
}

void OutputFile::read_at(std::uint64_t offset, void* into, std::size_t count) {
  if (!status_.ok() || count == 0) return;
  if (const std::error_code error = file_->read_at(offset, into, count)) fail(error);
}

Status OutputFile::commit(bool replace) {
  if (committed_) return {};
  if (status_.ok() && !file_) fail(std::make_error_code(std::errc::bad_file_descriptor));
  if (status_.ok()) {
    if (const std::error_code error = file_->put_in_place(target_, replace)) fail(error);
  }
  file_.reset();
  committed_ = status_.ok();
  return status_;
}

}  // namespace zur
