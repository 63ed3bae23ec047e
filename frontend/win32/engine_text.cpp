// SPDX-License-Identifier: MIT
#include "engine_text.h"

#include "../utf16_text.h"

// wchar_t is a UTF-16 unit on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring ToWide(std::string_view text) {
  const std::u16string utf16 = zur::dialog::utf16_from_engine(text);
  return std::wstring(utf16.begin(), utf16.end());
}

std::string FromWide(std::wstring_view text) {
  return zur::dialog::engine_from_utf16(std::u16string(text.begin(), text.end()));
}
