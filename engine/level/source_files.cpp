// SPDX-License-Identifier: MIT
#include "engine/level/source_files.h"

#include <algorithm>

#include "engine/base/ascii.h"
#include "engine/base/platform.h"
#include "zur/paths.h"

namespace zur {
namespace {

// The names to try before the folder is searched, first the strongest.
std::vector<std::string> names_to_try(const NamedLevel& level, const SourceFile& source) {
  std::vector<std::string> names;
  const std::string_view given = level.config_suffix;
  if (source.index == source::kConfig && !given.empty())
    names.push_back(level.prefix + std::string(given));
  names.push_back(level.prefix + std::string(source.suffix));
  const bool lower =
      std::none_of(given.begin(), given.end(), [](char c) { return ascii_lower(c) != c; });
  const bool upper =
      std::none_of(given.begin(), given.end(), [](char c) { return ascii_upper(c) != c; });
  if (!given.empty() && lower != upper) {
    std::string name = level.prefix;
    for (const char c : source.suffix) name += lower ? ascii_lower(c) : ascii_upper(c);
    names.push_back(std::move(name));
  }
  return names;
}

// The file names in `folder` equal to `name` ignoring case, in byte order.
std::vector<std::string> names_ignoring_case(const std::string& folder, const std::string& name,
                                             platform::System& system) {
  std::vector<platform::FolderEntry> entries;
  system.folder_entries(folder.empty() ? "." : folder, entries);
  std::vector<std::string> names;
  for (const platform::FolderEntry& entry : entries) {
    if (!entry.folder && equal_ignoring_case(entry.name, name)) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

Error FoundSource::ambiguity() const {
  std::string names;
  for (std::size_t i = 0; i < candidates.size(); ++i) {
    if (i > 0) names += i + 1 == candidates.size() ? " and " : ", ";
    names += candidates[i];
  }
  return {
      "", "", names + (candidates.size() == 2 ? " both" : " all") + " match: rename one", {}, {}};
}

FoundSource find_source(const NamedLevel& level, const SourceFile& source,
                        platform::System& system) {
  const std::vector<std::string> tries = names_to_try(level, source);
  const std::string formed = level.prefix + std::string(source.suffix);
  const std::string folder = formed.substr(0, name_start(formed));
  // Where the file system ignores letter case every formed name exists
  // whatever the file's own; only the folder's listing tells the names apart.
  const bool case_ignored = system.ignores_letter_case(folder.empty() ? "." : folder);
  if (!case_ignored) {
    for (const std::string& name : tries) {
      if (platform::exists(system, name)) return {name, {}};
    }
  }
  const std::vector<std::string> matches =
      names_ignoring_case(folder, formed.substr(folder.size()), system);
  if (case_ignored) {
    for (const std::string& name : tries) {
      if (std::find(matches.begin(), matches.end(), name.substr(folder.size())) != matches.end()) {
        return {name, {}};
      }
    }
  }
  if (matches.size() == 1) return {folder + matches.front(), {}};
  FoundSource found{formed, {}};
  if (matches.size() > 1) {
    for (const std::string& name : matches) found.candidates.push_back(folder + name);
  }
  return found;
}

FoundSources find_sources(const NamedLevel& level, platform::System& system) {
  FoundSources found;
  for (const SourceFile& file : kSourceFiles) found[file.index] = find_source(level, file, system);
  return found;
}

std::vector<std::string> source_paths(const FoundSources& found) {
  std::vector<std::string> paths;
  for (const FoundSource& source : found) {
    paths.push_back(source.path);
    paths.insert(paths.end(), source.candidates.begin(), source.candidates.end());
  }
  return paths;
}

}  // namespace zur
