// SPDX-License-Identifier: MIT
#include "engine/base/ascii.h"
#include "zur/paths.h"

namespace zur {
namespace {

constexpr PathSyntax kWindows = PathSyntax::kWindows;

bool is_drive(std::string_view path) {
  return path.size() >= 2 && ascii_lower(path[0]) >= 'a' && ascii_lower(path[0]) <= 'z' &&
         path[1] == ':';
}

// The end of the name that starts at `from`, with the separator after it.
std::size_t past_name(std::string_view path, std::size_t from) {
  while (from < path.size() && !is_folder_separator(path[from], kWindows)) ++from;
  return from < path.size() ? from + 1 : from;
}

// "C:", "C:\" or "server\share\" after the two separators of a share.
std::size_t drive_or_share_length(std::string_view path, bool share) {
  if (share) return past_name(path, past_name(path, 0));
  return is_drive(path) && path.size() > 2 && is_folder_separator(path[2], kWindows) ? 3 : 2;
}

std::size_t windows_root_length(std::string_view path) {
  const auto separator_at = [&](std::size_t i) {
    return i < path.size() && is_folder_separator(path[i], kWindows);
  };
  if (is_drive(path)) return drive_or_share_length(path, false);
  if (!separator_at(0)) return 0;
  if (!separator_at(1)) return 1;
  // \\?\ and \\.\ start a path the system takes as it is: a drive, a share
  // after "UNC\", or a device.
  if (path.size() >= 4 && (path[2] == '?' || path[2] == '.') && separator_at(3)) {
    const std::string_view rest = path.substr(4);
    if (starts_with_ignoring_case(rest, "UNC") && rest.size() > 3 &&
        is_folder_separator(rest[3], kWindows)) {
      return 8 + drive_or_share_length(rest.substr(4), true);
    }
    return 4 + (is_drive(rest) ? drive_or_share_length(rest, false) : past_name(rest, 0));
  }
  return 2 + drive_or_share_length(path.substr(2), true);
}

}  // namespace

bool is_folder_separator(char c, PathSyntax syntax) {
  return c == '/' || (syntax == kWindows && c == '\\');
}

std::size_t root_length(std::string_view path, PathSyntax syntax) {
  if (syntax == kWindows) return windows_root_length(path);
  std::size_t length = 0;
  while (length < path.size() && path[length] == '/') ++length;
  return length;
}

std::size_t name_start(std::string_view path, PathSyntax syntax) {
  const std::size_t root = root_length(path, syntax);
  std::size_t start = path.size();
  while (start > root && !is_folder_separator(path[start - 1], syntax)) --start;
  return start;
}

}  // namespace zur
