// SPDX-License-Identifier: MIT
// What failed and why: a file that cannot be read or written, a level file
// that cannot be unpacked, a source the lookup could not choose. The
// conversion's results keep their fixed messages, chosen from these where
// the job ends; this carries everything else up to the program that prints
// it, as "cannot write levels/jungle.tga: No space left on device". A call
// that can fail and gives no value back returns a Status: success, or its
// Error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

namespace zur {

struct Error {
  std::string action;                   // what failed, as "cannot write"
  std::string path;                     // the file it failed on
  std::string reason;                   // why: the system's text or the tool's own
  std::optional<std::uint64_t> offset;  // where in the file, when it applies
  std::error_code code;                 // the system's, when it gave the reason

  // "ACTION PATH[ at byte OFFSET][: REASON]", or the reason alone when
  // nothing names a file.
  std::string text() const;
};

class Status {
 public:
  Status() = default;                                // success
  Status(Error error) : error_(std::move(error)) {}  // NOLINT: a failure is its error

  bool ok() const { return !error_; }
  // What failed; only when not ok().
  const Error& error() const { return *error_; }
  // The error's text; empty when ok().
  std::string text() const { return error_ ? error_->text() : std::string(); }

 private:
  std::optional<Error> error_;
};

}  // namespace zur
