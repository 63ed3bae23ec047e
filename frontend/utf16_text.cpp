// SPDX-License-Identifier: MIT
#include "utf16_text.h"

#include <optional>

namespace zur::dialog {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool is_surrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

// The code points of `text`, or nothing when it is not UTF-8: no overlong
// forms, no surrogates, nothing past U+10FFFF.
std::optional<std::u32string> decode_utf8(std::string_view text) {
  std::u32string decoded;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80       ? 1
                               : lead >> 5 == 6  ? 2
                               : lead >> 4 == 14 ? 3
                               : lead >> 3 == 30 ? 4
                                                 : 0;
    if (length == 0 || i + length > text.size()) return std::nullopt;
    char32_t c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next >> 6 != 2) return std::nullopt;
      c = c << 6 | (next & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kShortest[length] || c > 0x10FFFF || is_surrogate(c)) return std::nullopt;
    decoded.push_back(c);
    i += length;
  }
  return decoded;
}

void append_utf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
    return;
  }
  const int length = c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  constexpr unsigned char kLead[] = {0, 0, 0xC0, 0xE0, 0xF0};
  out.push_back(static_cast<char>(kLead[length] | c >> (6 * (length - 1))));
  for (int k = length - 2; k >= 0; --k)
    out.push_back(static_cast<char>(0x80 | (c >> (6 * k) & 0x3F)));
}

}  // namespace

std::u16string utf16_from_engine(std::string_view text) {
  std::u16string converted;
  const std::optional<std::u32string> decoded = decode_utf8(text);
  if (!decoded) {
    for (const char byte : text) converted.push_back(static_cast<unsigned char>(byte));
    return converted;
  }
  for (const char32_t c : *decoded) {
    if (c < 0x10000) {
      converted.push_back(static_cast<char16_t>(c));
    } else {
      converted.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      converted.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return converted;
}

std::string engine_from_utf16(std::u16string_view text) {
  std::string converted;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                      text[i + 1] <= 0xDFFF;
    if (pair) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (is_surrogate(c)) {
      c = kReplacement;
    }
    append_utf8(c, converted);
  }
  return converted;
}

}  // namespace zur::dialog
