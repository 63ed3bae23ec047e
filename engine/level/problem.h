// SPDX-License-Identifier: MIT
// The findings of a level check: each problem of a level's sources with its
// file, its place (config line, or map pixel with y counted from the top) and
// a stable code that fixes its severity.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zur {

enum class ProblemCode {
  kUnknownKeyword,
  kKeywordTrailingSpace,
  kDuplicateKeyword,
  kMissingKeyword,
  kBadYesNo,
  kBadNumber,
  kNumberOutOfRange,
  kBadTriple,
  kBadSignPair,
  kEmptyValue,
  kMissingValue,
  kLongLine,
  kTextCut,
  kTextNulByte,
  kTooManySigns,
  kSourceMissing,
  kTgaFormat,
  kTgaIdField,
  kIllegalColours,
  kObjectsDropped,
  kMarkerBlock,
  kNotAJpeg,
  kPictureSizeMismatch,
};

enum class Severity { kError, kWarning };

// The code as written in the check's output, e.g. "unknown-keyword".
std::string_view code_name(ProblemCode code);
// Errors are what makes the conversion fail (or fail without going on past
// illegal colours) or gives the game a picture it cannot show.
Severity severity(ProblemCode code);
std::string_view severity_name(Severity severity);

// "1 pixel", "2 pixels": a count and its noun, as the messages give them.
std::string counted(std::uint64_t count, const std::string& noun);

// A text in double quotes as the messages give it. A zero byte is shown as
// \0, so that no message holds one and every message prints whole.
std::string quoted(std::string_view text);

struct Problem {
  ProblemCode code;
  std::string file;                  // as the source lookup found it
  std::optional<std::int64_t> line;  // 1-based config line
  std::optional<std::int64_t> x, y;  // map pixel
  std::string message;
};

}  // namespace zur
