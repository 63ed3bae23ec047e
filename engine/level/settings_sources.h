// SPDX-License-Identifier: MIT
// The config file that rebuilds a level settings record: for each keyword
// the value line that the config reader turns back into the field's bytes.
// Where a record holds bytes that no config file gives, the nearest value is
// chosen and the difference named per field.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/conversion/settings.h"
#include "engine/level/finding.h"

namespace zur {

struct SettingLine {
  std::size_t keyword;  // index into kKeywords
  std::string value;    // the value line, without its line end; zero bytes kept
  // False for an empty text that is the default: an empty value line would
  // end the reading, so the keyword is left out of the file.
  bool written = true;
};

struct SettingsSources {
  // Keywords 0 to 19 in table order, then one sign keyword per sign in use.
  std::vector<SettingLine> lines;
  // What the rebuilt record will hold differently; offsets count from the
  // record's start.
  std::vector<Finding> differences;
};

using SettingsRecord = std::span<const std::uint8_t, LevelSettings::kSize>;

SettingsSources settings_sources(SettingsRecord record);

// The config file: a keyword line and a value line per written setting,
// ended as text lines are on the system (CR LF on Windows). The reader drops
// one carriage return before a line feed, so where lines end in a line feed
// alone, a value that ends with a carriage return gets a second one.
std::string config_file_text(const SettingsSources& sources);

}  // namespace zur
