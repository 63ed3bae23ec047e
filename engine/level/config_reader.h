// SPDX-License-Identifier: MIT
// Reads a level config file into the level settings record. The file is a
// list of settings, each a keyword line ("/" and a keyword, any letter case)
// followed by its value line; every other line is a comment. The record must
// be reset by the caller first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/base/platform.h"
#include "engine/conversion/settings.h"
#include "engine/conversion/warnings.h"

namespace zur {

enum class ConfigOutcome {
  kComplete,
  // Read, but not exactly one keyword line for each of the 20 counted keywords.
  kIncomplete,
  // The file cannot be opened or read.
  kMissing,
};

// Takes value lines into a settings record as a conversion does, one
// keyword's value at a time by the rule of its kind (value_kinds.h): shared
// by the reader and the level check.
class ConfigValues {
 public:
  ConfigValues(LevelSettings& settings, WarningList& warnings)
      : settings_(settings), warnings_(warnings) {}

  // Takes the value line of keyword `index` (into kKeywords); false when the
  // value is refused, which leaves the record as it was.
  bool take(std::size_t index, std::string_view value);

  // Warns, once, of a keyword line that names no keyword.
  void warn_unknown_keyword() { warn_once(unknown_warned_, warning::kUnknownParameters); }

  // The steps the kinds' rules take a value with.
  std::uint8_t* field(const Keyword& keyword) { return settings_.at(keyword.offset); }
  // Copies the text with its terminating zero, cut to fit the field.
  void put_text(std::uint8_t* at, std::size_t field_size, std::string_view text);
  // Puts a sign into the next free slot of the sign table. A sign that
  // finds none is skipped, with a warning once, but still counts as taken.
  bool add_sign(std::string_view first, std::string_view second);

 private:
  void warn_once(bool& warned, std::string_view text);

  LevelSettings& settings_;
  WarningList& warnings_;
  bool unknown_warned_ = false;
  bool cut_warned_ = false;
  bool signs_warned_ = false;
};

// Reads the text of a config file. Sets `found` for every keyword and may
// add warnings; never kMissing.
ConfigOutcome parse_level_config(std::string_view text, LevelSettings& settings, FoundFlags& found,
                                 WarningList& warnings);

// The same for the file at `path`, read through `system`.
ConfigOutcome read_level_config(const std::string& path, LevelSettings& settings, FoundFlags& found,
                                WarningList& warnings, platform::System& system);

}  // namespace zur
