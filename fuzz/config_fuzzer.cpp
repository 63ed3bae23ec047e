// SPDX-License-Identifier: MIT
// Fuzzes the config file reader on texts in memory.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/level/config_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zur::LevelSettings settings;
  zur::FoundFlags found{};
  zur::WarningList warnings;
  zur::parse_level_config(std::string_view(reinterpret_cast<const char*>(data), size), settings,
                          found, warnings);
  return 0;
}
