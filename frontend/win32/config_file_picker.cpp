// SPDX-License-Identifier: MIT
#include "config_file_picker.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <iterator>
#include <string_view>

#include "../picked_paths.h"
#include "engine_text.h"
#include "message_box.h"

namespace {

constexpr std::size_t kNameBufferCharacters = 65536;
constexpr wchar_t kFilter[] = L"Configure files (*.txt)\0*.txt\0";
constexpr const char* kTooManyFiles =
    "Too many files picked at once: their names take more than 65,536 characters.\n\n"
    "Pick fewer files.";

void Tell(HWND owner, const std::string& message) {
  ShowMessageBox(owner, message, zur::dialog::message_box_kind(zur::Icon::Error));
}

std::optional<std::vector<std::string>> ShowFileDialog(HWND owner,
                                                       const zur::dialog::PickerStart& start) {
  std::wstring names = ToWide(start.name);
  names.resize(kNameBufferCharacters, L'\0');
  const std::wstring folder = ToWide(start.folder);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = names.data();
  dialog.nMaxFile = static_cast<DWORD>(names.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = L"txt";
  // The dialog would otherwise leave the working folder in the folder last
  // browsed, and a relative prefix typed afterwards would name another level.
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                 OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) {
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL) Tell(owner, kTooManyFiles);
    return std::nullopt;
  }
  std::vector<std::string> paths;
  for (const std::wstring& path : PickedPaths(names.c_str())) paths.push_back(FromWide(path));
  return paths;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

std::vector<std::wstring> PickedPaths(const wchar_t* names) {
  std::vector<std::wstring_view> parts;
  for (std::wstring_view part; !(part = names).empty(); names += part.size() + 1) {
    parts.push_back(part);
  }
  if (parts.size() <= 1) return {parts.begin(), parts.end()};
  // A folder that is a drive's root already ends with its separator.
  std::wstring folder(parts.front());
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> paths;
  std::transform(parts.begin() + 1, parts.end(), std::back_inserter(paths),
                 [&](std::wstring_view name) { return folder + std::wstring(name); });
  return paths;
}

// The file dialog itself refuses names of missing files; the shared check
// afterwards finds none, and keeps both dialogs on one path.
std::optional<std::vector<std::string>> PickConfigFiles(HWND owner) {
  return zur::dialog::pick_config_files(
      [owner](const zur::dialog::PickerStart& start) { return ShowFileDialog(owner, start); },
      FileExists, [owner](const std::string& message) { Tell(owner, message); });
}
