// SPDX-License-Identifier: MIT
// The four source files a level is made from, in the one order everything
// lists them: config file, attribute map, level picture, parallax picture.
// Each is named by the level prefix plus its suffix; the table says what the
// file is, when the conversion reads it, and the result that ends the
// conversion when it is missing or unreadable.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/base/ascii.h"
#include "engine/conversion/level_format.h"
#include "engine/conversion/result.h"
#include "engine/conversion/settings.h"

namespace zur {

// A source's place in kSourceFiles and in every list of sources.
namespace source {
enum Index : std::size_t { kConfig, kAttributeMap, kLevelImage, kParallaxImage };
}  // namespace source

struct SourceFile {
  source::Index index;
  std::string_view suffix;  // as the lookup forms the name
  std::string_view role;    // what the check calls it
  ConversionResult missing;
  // Whether a conversion with these settings reads the file.
  bool (*needed)(const LevelSettings&);
  std::string_view needed_with;  // the setting that makes it needed; empty when always
};

inline constexpr std::array<SourceFile, 4> kSourceFiles = {{
    {source::kConfig, suffix::kConfig, "config file", ConversionResult::kConfigFileMissing,
     [](const LevelSettings&) { return true; }, ""},
    {source::kAttributeMap, suffix::kAttributeMap, "attribute map",
     ConversionResult::kAttributeMapMissing, [](const LevelSettings&) { return true; }, ""},
    {source::kLevelImage, suffix::kLevelImage, "level picture", ConversionResult::kLevelJpegMissing,
     [](const LevelSettings& settings) { return !settings.gg_level(); }, "GGLEVEL no"},
    {source::kParallaxImage, suffix::kParallaxImage, "parallax picture",
     ConversionResult::kParallaxJpegMissing,
     [](const LevelSettings& settings) { return settings.para(); }, "PARA yes"},
}};

static_assert([] {
  for (std::size_t i = 0; i < kSourceFiles.size(); ++i) {
    if (kSourceFiles[i].index != i) return false;
  }
  return true;
}());

// One path per source, in table order.
using SourcePaths = std::array<std::string, kSourceFiles.size()>;

// The name a conversion's message gives a source that was not found: the
// prefix and the suffix in lower case.
inline std::string missing_source_name(std::string_view prefix, const SourceFile& file) {
  std::string name(prefix);
  for (const char c : file.suffix) name += ascii_lower(c);
  return name;
}

}  // namespace zur
