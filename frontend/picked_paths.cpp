// SPDX-License-Identifier: MIT
#include "picked_paths.h"

#include <algorithm>

namespace zur::dialog {
namespace {

std::string missing_file_message(const std::string& file) {
  return "Please choose an existing file.\n\nFile missing:\n" + file;
}

}  // namespace

std::optional<std::vector<std::string>> pick_config_files(
    const ShowPicker& show_picker, const std::function<bool(const std::string&)>& file_exists,
    const std::function<void(const std::string&)>& tell_user, PathSyntax syntax) {
  PickerStart start;
  while (std::optional<std::vector<std::string>> picked = show_picker(start)) {
    std::vector<std::string> files;
    for (const std::string& path : *picked) files.push_back(with_default_extension(path, syntax));
    const auto missing = std::find_if_not(files.begin(), files.end(), file_exists);
    if (missing == files.end()) return files;
    tell_user(missing_file_message(*missing));
    const std::string& typed = (*picked)[static_cast<std::size_t>(missing - files.begin())];
    const std::size_t name = name_start(typed, syntax);
    start = {typed.substr(0, name), typed.substr(name)};
  }
  return std::nullopt;
}

std::string with_default_extension(const std::string& path, PathSyntax syntax) {
  if (path.find('.', name_start(path, syntax)) != std::string::npos) return path;
  return path + ".txt";
}

std::string join_prefixes(const std::vector<std::string>& paths) {
  std::string prefixes;
  for (const std::string& path : paths) {
    if (!prefixes.empty()) prefixes += " | ";
    prefixes += prefix_from_picked_path(path);
  }
  return prefixes;
}

}  // namespace zur::dialog
