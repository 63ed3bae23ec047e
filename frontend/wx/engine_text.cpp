// SPDX-License-Identifier: MIT
#include "engine_text.h"

std::string ToEngine(const wxString& text) {
  const wxScopedCharBuffer bytes = text.mb_str(*wxConvFileName);
  return bytes.length() == 0 ? std::string() : std::string(bytes.data(), bytes.length());
}

wxString FromEngine(const std::string& text) {
  wxString decoded(text.c_str(), *wxConvFileName);
  if (decoded.empty() && !text.empty()) decoded = wxString(text.c_str(), wxConvISO8859_1);
  return decoded;
}
