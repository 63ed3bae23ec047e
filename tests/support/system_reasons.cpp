// SPDX-License-Identifier: MIT
#include "tests/support/system_reasons.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <system_error>

namespace zur::test {

#ifdef _WIN32

namespace {
std::string said(DWORD code) {
  return std::error_code(static_cast<int>(code), std::system_category()).message();
}
}  // namespace

std::string file_missing_reason() {
  return said(ERROR_FILE_NOT_FOUND);
}
std::string folder_missing_reason() {
  return said(ERROR_PATH_NOT_FOUND);
}
std::string access_denied_reason() {
  return said(ERROR_ACCESS_DENIED);
}
std::string invalid_name_reason() {
  return said(ERROR_INVALID_NAME);
}

#else

namespace {
std::string said(std::errc code) {
  return std::make_error_code(code).message();
}
}  // namespace

std::string file_missing_reason() {
  return said(std::errc::no_such_file_or_directory);
}
std::string folder_missing_reason() {
  return said(std::errc::no_such_file_or_directory);
}
std::string access_denied_reason() {
  return said(std::errc::permission_denied);
}

#endif

}  // namespace zur::test
