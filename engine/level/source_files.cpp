// SPDX-License-Identifier: MIT
#include "engine/level/source_files.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "engine/level/shared/ascii.h"
#include "engine/level/shared/path_syntax.h"
#include "engine/level/shared/utf8_path.h"

namespace zur {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> find_ignoring_case(const std::string& wanted) {
  const std::string folder = wanted.substr(0, name_start(wanted));
  const std::string directory = folder.empty() ? "." : folder;
  const std::string name = wanted.substr(folder.size());
  std::error_code error;
  fs::directory_iterator entries(path_of(directory), error);
  std::optional<std::string> best;
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    const std::string candidate = utf8_of(entries->path().filename());
    if (!equal_ignoring_case(candidate, name) || (best && *best <= candidate)) continue;
    std::error_code kind_error;
    if (!entries->is_directory(kind_error)) best = candidate;
  }
  if (!best) return std::nullopt;
  return folder + *best;
}

}  // namespace

std::string find_source(const std::string& prefix, std::string_view suffix) {
  std::string exact = prefix + std::string(suffix);
  // Windows' file systems ignore letter case, so there the name as formed
  // exists whatever the file's own; the folder tells that one.
  constexpr bool kLetterCaseIgnored = kNativePathSyntax == PathSyntax::kWindows;
  std::error_code error;
  if (!kLetterCaseIgnored && fs::exists(path_of(exact), error)) return exact;
  return find_ignoring_case(exact).value_or(exact);
}

SourcePaths find_sources(const std::string& prefix) {
  SourcePaths paths;
  for (const SourceFile& file : kSourceFiles) paths[file.index] = find_source(prefix, file.suffix);
  return paths;
}

}  // namespace zur
