// What the stages of one conversion share: the user prompts, the clock, and
// the objects every job overwrites (prefix, warnings, start time, settings
// record, found flags). They stay readable after the job until the next one.
#pragma once

#include <cstdint>
#include <string>

#include "engine/level/clock.h"
#include "engine/level/prompts.h"
#include "engine/level/settings.h"
#include "engine/level/warnings.h"

namespace zur {

struct Conversion {
  Conversion(UserPrompts& user, MillisecondClock milliseconds)
      : prompts(user), clock(std::move(milliseconds)) {}

  UserPrompts& prompts;
  MillisecondClock clock;

  std::string prefix;  // the level's path without extension
  WarningList warnings;
  std::uint32_t job_start_ms = 0;
  LevelSettings settings;
  FoundFlags found{};
};

}  // namespace zur
