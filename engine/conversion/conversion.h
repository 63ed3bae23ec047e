// SPDX-License-Identifier: MIT
// What the stages of one conversion share: the user prompts, the system its
// files are read and written through, the clock, and the objects every job
// overwrites (prefix, warnings, start time, settings
// record, found flags). They stay readable after the job until the next one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/base/error.h"
#include "engine/base/platform.h"
#include "engine/conversion/settings.h"
#include "engine/conversion/warnings.h"
#include "zur/clock.h"
#include "zur/prompts.h"

namespace zur {

struct Conversion {
  Conversion(UserPrompts& user, platform::System& files, MillisecondClock milliseconds)
      : prompts(user), system(files), clock(std::move(milliseconds)) {}

  UserPrompts& prompts;
  platform::System& system;
  MillisecondClock clock;

  std::string prefix;  // the level's path without extension
  // The config file's ".txt" as the user wrote it when they named the file
  // (level_prefix.h), else empty.
  std::string config_suffix;
  std::string level_file;  // the path the level file is written to
  // The source files read, as the lookup found them, in the order of the
  // sources table (source_table.h); complete once the conversion succeeded.
  std::vector<std::string> sources_read;
  WarningList warnings;
  // The system's reasons for the job's failure, when it has any.
  std::vector<Error> reasons;
  std::uint32_t job_start_ms = 0;
  LevelSettings settings;
  FoundFlags found{};
};

}  // namespace zur
