// SPDX-License-Identifier: MIT
// How the config reader takes a config file's text apart: its lines and the
// numbers and commas in its values. Shared by the reader and by the check,
// which must see the file exactly as a conversion does.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/level/config_reader.h"
#include "engine/level/shared/ascii.h"
#include "engine/level/shared/input_file.h"

namespace zur::config_text {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// Commas of triples and sign pairs only count among a value's first characters.
inline constexpr std::size_t kCommaSearchLength = 100;

struct Line {
  std::string_view text;     // cut to kMaxConfigLine characters
  std::uint64_t length = 0;  // before the cut
  bool ended_file = false;   // no line feed followed: the file ended during the read
};

// The next block of a config file's bytes; empty at its end.
using NextBlock = std::function<std::string_view()>;

// Splits the bytes of a config file into lines as a text-mode line reader
// would: a carriage return before the line feed is not part of the line, and
// a UTF-8 byte order mark before the first line is dropped. Only the first
// kMaxConfigLine characters of a line are kept, so a line of any length, fed
// in blocks, costs bounded memory.
class LineReader {
 public:
  explicit LineReader(NextBlock next_block) : next_block_(std::move(next_block)) {
    line_.reserve(kept_limit());
  }
  // The whole text at once.
  explicit LineReader(std::string_view text)
      : LineReader([text]() mutable { return std::exchange(text, {}); }) {}

  Line next() {
    line_.clear();
    length_ = 0;
    for (;;) {
      if (block_.empty()) block_ = next_block_();
      if (block_.empty()) return finish(true);
      const std::size_t feed = block_.find('\n');
      const std::string_view piece = block_.substr(0, feed);
      if (!piece.empty()) last_ = piece.back();
      length_ += piece.size();
      keep(piece);
      block_.remove_prefix(feed == std::string_view::npos ? block_.size() : feed + 1);
      if (feed != std::string_view::npos) return finish(false);
    }
  }

 private:
  // One character more than a line keeps, to see a carriage return that
  // ends a line of exactly kMaxConfigLine characters; the first line also
  // has room for the byte order mark.
  std::size_t kept_limit() const {
    return kMaxConfigLine + 1 + (first_line_ ? kUtf8ByteOrderMark.size() : 0);
  }

  void keep(std::string_view piece) {
    const std::size_t room = kept_limit() - std::min(kept_limit(), line_.size());
    line_.append(piece.substr(0, room));
  }

  Line finish(bool ended) {
    std::string_view line = line_;
    if (first_line_ && line.starts_with(kUtf8ByteOrderMark)) {
      line.remove_prefix(kUtf8ByteOrderMark.size());
      length_ -= kUtf8ByteOrderMark.size();
    }
    first_line_ = false;
    if (!ended && length_ > 0 && last_ == '\r') {
      --length_;
      if (line.size() > length_) line.remove_suffix(1);
    }
    return {line.substr(0, kMaxConfigLine), length_, ended};
  }

  NextBlock next_block_;
  std::string_view block_;
  std::string line_;
  std::uint64_t length_ = 0;
  char last_ = 0;  // the last character of the line, whether kept or not
  bool first_line_ = true;
};

// The lines of a config file, read a block at a time: the file costs the
// memory of one block and one line whatever its size.
class ConfigFileLines {
 public:
  // False when the file cannot be opened for reading.
  bool open(const std::string& path) { return file_.open(path); }
  LineReader& lines() { return lines_; }
  // True once a read has failed; the lines then end there.
  bool failed() const { return failed_; }

 private:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 16;

  InputFile file_;
  std::string block_ = std::string(kBlockSize, '\0');
  bool failed_ = false;
  LineReader lines_{[this]() -> std::string_view {
    const std::optional<std::size_t> got = file_.read_text_block(block_.data(), block_.size());
    if (!got) failed_ = true;
    return {block_.data(), got.value_or(0)};
  }};
};

inline bool is_space(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// The keyword a keyword line names after its "/", in any letter case.
inline std::optional<std::size_t> match_keyword(std::string_view name) {
  for (std::size_t i = 0; i < kKeywords.size(); ++i) {
    if (equal_ignoring_case(name, kKeywords[i].name)) return i;
  }
  return std::nullopt;
}

// A decimal integer as atoi takes it: blanks, an optional sign, digits.
struct IntegerText {
  bool negative = false;
  std::int64_t magnitude = 0;  // saturated far beyond 32 bits
  std::size_t digits = 0;
  std::size_t end = 0;  // past the last digit
};

inline IntegerText scan_integer(std::string_view text) {
  constexpr std::int64_t kSaturated = std::int64_t{1} << 40;
  IntegerText number;
  std::size_t i = 0;
  while (i < text.size() && is_space(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.negative = text[i++] == '-';
  const std::size_t digits_from = i;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    number.magnitude = std::min(number.magnitude * 10 + (text[i] - '0'), kSaturated);
  }
  number.digits = i - digits_from;
  number.end = i;
  return number;
}

// The number, saturated at the limits of 32 bits.
inline std::int32_t clamped(const IntegerText& number) {
  const std::int64_t value = number.negative ? -number.magnitude : number.magnitude;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Decimal integer read like atoi, saturating at the limits of 32 bits.
inline std::int32_t read_integer(std::string_view text) {
  return clamped(scan_integer(text));
}

inline std::uint8_t low_byte(std::int32_t value) {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value));
}

inline std::optional<std::size_t> find_comma(std::string_view value, std::size_t from) {
  const std::size_t at = value.substr(0, kCommaSearchLength).find(',', from);
  if (at == std::string_view::npos) return std::nullopt;
  return at;
}

}  // namespace zur::config_text
