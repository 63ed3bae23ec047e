// SPDX-License-Identifier: MIT
// The line grammar of a level config file, written once: how its bytes split
// into lines, and what each line is to the reading (a comment, a keyword
// line, its value line, or where the reading ends). The conversion's reader
// and the check both walk a file through it, so they cannot read it apart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/base/input_file.h"
#include "engine/base/platform.h"

namespace zur::config_grammar {

// Longest line kept; the rest of a longer line is dropped.
inline constexpr std::size_t kMaxConfigLine = 159;
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct Line {
  std::string_view text;      // cut to kMaxConfigLine characters
  std::uint64_t length = 0;   // before the cut; with `hole_skipped` only a lower bound
  bool ended_file = false;    // no line feed followed: the file ended during the read
  bool hole_skipped = false;  // a hole of a sparse file may lie in it unread
};

struct Block {
  std::string_view bytes;   // empty at the file's end
  bool hole_after = false;  // a hole may have been skipped unread after these bytes
};

// The next block of a config file's bytes.
using NextBlock = std::function<Block()>;

// Splits the bytes of a config file into lines as a text-mode line reader
// would: a carriage return before the line feed is not part of the line, and
// a UTF-8 byte order mark before the first line is dropped. Only the first
// kMaxConfigLine characters of a line are kept, so a line of any length, fed
// in blocks, costs bounded memory. A line's text lives until the next line.
class LineReader {
 public:
  explicit LineReader(NextBlock next_block);
  // The whole text at once.
  explicit LineReader(std::string_view text);

  Line next();

 private:
  std::size_t kept_limit() const;
  void keep(std::string_view piece);
  Line finish(bool ended);

  NextBlock next_block_;
  Block block_;
  bool hole_in_next_line_ = false;  // a hole skipped right after a line feed
  bool hole_skipped_ = false;
  std::string line_;
  std::uint64_t length_ = 0;
  char last_ = 0;  // the last character of the line, whether kept or not
  bool first_line_ = true;
};

// The lines of a config file, read a block at a time through `system`
// (which must outlive it): the file costs the memory of one block and one
// line whatever its size.
class ConfigFileLines {
 public:
  explicit ConfigFileLines(platform::System& system) : file_(system) {}
  // False when the file cannot be opened for reading.
  Status open(const std::string& path) { return file_.open(path); }
  LineReader& lines() { return lines_; }
  // True once a read has failed; the lines then end there.
  bool failed() const { return failed_; }

 private:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 16;

  Block next_block();

  InputFile file_;
  std::string block_ = std::string(kBlockSize, '\0');
  bool failed_ = false;
  LineReader lines_{[this] { return next_block(); }};
};

// The keyword a keyword line names after its "/", in any letter case.
std::optional<std::size_t> match_keyword(std::string_view name);

enum class LineRole {
  kComment,         // neither a keyword line nor a value line: ignored
  kKeyword,         // "/" and a keyword; the next line is its value line
  kUnknownKeyword,  // "/" and no keyword: skipped, the next line read as any other
  kValue,           // the line after a keyword line, whatever it holds
  kEmptyValue,      // an empty line where a value line is due
  kNoValue,         // the file ends where a value line is due
  kKeywordAtEnd,    // a keyword line without a line feed: not read as one
  kEnd,             // what follows the last line feed, if anything: not read as a keyword line
};

struct ClassifiedLine {
  Line line;
  std::int64_t number = 0;  // from 1
  LineRole role = LineRole::kComment;
  std::size_t keyword = 0;  // into kKeywords, for a keyword line and its value line
  bool last = false;        // the reading ends with this line
};

// Tells what each line of a config file is to the reading, in file order.
// Not to be asked again after the line that is `last`.
class LineClassifier {
 public:
  explicit LineClassifier(LineReader& lines) : lines_(lines) {}

  ClassifiedLine next();

 private:
  LineReader& lines_;
  std::int64_t number_ = 0;
  std::optional<std::size_t> value_due_;  // the keyword whose value line comes next
};

}  // namespace zur::config_grammar
