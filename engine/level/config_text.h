// SPDX-License-Identifier: MIT
// How the config reader takes a value line apart: the numbers and commas in
// it. Shared by the reader and by the check, which must see a value exactly
// as a conversion does.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace zur::config_text {

// Commas of triples and sign pairs only count among a value's first characters.
inline constexpr std::size_t kCommaSearchLength = 100;

inline bool is_space(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
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
