// SPDX-License-Identifier: MIT
#include "engine/level/source_files.h"

#include <optional>

#include "engine/level/shared/ascii.h"
#include "engine/level/shared/path_syntax.h"
#include "engine/level/shared/platform.h"

namespace zur {
namespace {

std::optional<std::string> find_ignoring_case(const std::string& wanted) {
  const std::string folder = wanted.substr(0, name_start(wanted));
  const std::string directory = folder.empty() ? "." : folder;
  const std::string name = wanted.substr(folder.size());
  std::vector<platform::FolderEntry> entries;
  platform::folder_entries(directory, entries);
  std::optional<std::string> best;
  for (const platform::FolderEntry& entry : entries) {
    if (entry.folder || !equal_ignoring_case(entry.name, name)) continue;
    if (!best || entry.name < *best) best = entry.name;
  }
  if (!best) return std::nullopt;
  return folder + *best;
}

}  // namespace

std::string find_source(const std::string& prefix, std::string_view suffix) {
  std::string exact = prefix + std::string(suffix);
  // Where the file system ignores letter case the name as formed exists
  // whatever the file's own; the folder tells that one.
  const std::string folder = exact.substr(0, name_start(exact));
  const bool case_ignored = platform::ignores_letter_case(folder.empty() ? "." : folder);
  if (!case_ignored && platform::exists(exact)) return exact;
  return find_ignoring_case(exact).value_or(exact);
}

SourcePaths find_sources(const std::string& prefix) {
  SourcePaths paths;
  for (const SourceFile& file : kSourceFiles) paths[file.index] = find_source(prefix, file.suffix);
  return paths;
}

}  // namespace zur
