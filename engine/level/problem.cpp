// SPDX-License-Identifier: MIT
#include "engine/level/problem.h"

#include <array>

#include "engine/level/enum_table.h"

namespace zur {
namespace {

struct CodeInfo {
  ProblemCode code;
  std::string_view name;
  Severity severity;
};

constexpr std::array<CodeInfo, 23> kCodes = {{
    {ProblemCode::kUnknownKeyword, "unknown-keyword", Severity::kWarning},
    {ProblemCode::kKeywordTrailingSpace, "keyword-trailing-space", Severity::kWarning},
    {ProblemCode::kDuplicateKeyword, "duplicate-keyword", Severity::kWarning},
    {ProblemCode::kMissingKeyword, "missing-keyword", Severity::kWarning},
    {ProblemCode::kBadYesNo, "bad-yes-no", Severity::kWarning},
    {ProblemCode::kBadNumber, "bad-number", Severity::kWarning},
    {ProblemCode::kNumberOutOfRange, "number-out-of-range", Severity::kWarning},
    {ProblemCode::kBadTriple, "bad-triple", Severity::kWarning},
    {ProblemCode::kBadSignPair, "bad-sign-pair", Severity::kWarning},
    {ProblemCode::kEmptyValue, "empty-value", Severity::kWarning},
    {ProblemCode::kMissingValue, "missing-value", Severity::kWarning},
    {ProblemCode::kLongLine, "long-line", Severity::kWarning},
    {ProblemCode::kTextCut, "text-cut", Severity::kWarning},
    {ProblemCode::kTextNulByte, "text-nul-byte", Severity::kWarning},
    {ProblemCode::kTooManySigns, "too-many-signs", Severity::kWarning},
    {ProblemCode::kSourceMissing, "source-missing", Severity::kError},
    {ProblemCode::kTgaFormat, "tga-format", Severity::kError},
    {ProblemCode::kTgaIdField, "tga-id-field", Severity::kWarning},
    {ProblemCode::kIllegalColours, "illegal-colours", Severity::kError},
    {ProblemCode::kObjectsDropped, "objects-dropped", Severity::kWarning},
    {ProblemCode::kMarkerBlock, "marker-block", Severity::kWarning},
    {ProblemCode::kNotAJpeg, "not-a-jpeg", Severity::kError},
    {ProblemCode::kPictureSizeMismatch, "picture-size-mismatch", Severity::kWarning},
}};

const CodeInfo& info(ProblemCode code) {
  return kCodes[static_cast<std::size_t>(code)];
}

// The table is indexed by the enumeration's values.
static_assert(indexed_by(kCodes, &CodeInfo::code));

}  // namespace

std::string_view code_name(ProblemCode code) {
  return info(code).name;
}

Severity severity(ProblemCode code) {
  return info(code).severity;
}

std::string counted(std::uint64_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string quoted(std::string_view text) {
  std::string result(1, '"');
  for (const char c : text) {
    if (c == '\0') {
      result.append("\\0");
    } else {
      result.push_back(c);
    }
  }
  result.push_back('"');
  return result;
}

std::string_view severity_name(Severity severity) {
  return severity == Severity::kError ? "error" : "warning";
}

}  // namespace zur
