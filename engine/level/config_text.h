// How the config reader takes a config file's text apart: its lines and the
// numbers and commas in its values. Shared by the reader and by the check,
// which must see the file exactly as a conversion does.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "engine/level/config_reader.h"

namespace zur::config_text {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// Commas of triples and sign pairs only count among a value's first characters.
inline constexpr std::size_t kCommaSearchLength = 100;

struct Line {
  std::string_view text;    // cut to kMaxConfigLine characters
  std::size_t length = 0;   // before the cut
  bool ended_file = false;  // no line feed followed: the file ended during the read
};

// Splits the file into lines as a text-mode line reader would: a carriage
// return before the line feed is not part of the line.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}

  Line next() {
    const std::size_t feed = rest_.find('\n');
    const bool ended = feed == std::string_view::npos;
    std::string_view line = rest_.substr(0, feed);
    rest_.remove_prefix(ended ? rest_.size() : feed + 1);
    if (!ended && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    return {line.substr(0, kMaxConfigLine), line.size(), ended};
  }

 private:
  std::string_view rest_;
};

inline bool is_space(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Decimal integer read like atoi, saturating at the limits of 32 bits.
inline std::int32_t read_integer(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kLimit);
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
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
