// SPDX-License-Identifier: MIT
#include "cli/console_pause.h"

#include <gtest/gtest.h>

namespace zur::cli {
namespace {

TEST(ConsolePause, OnlyAProgramWithAConsoleOfItsOwnWaits) {
  const struct {
    const char* started;
    ConsoleAtExit console;
    bool waits;
  } cases[] = {
      {"by a double-click or by dropping files on it", {true, true, true}, true},
      {"from a shell", {false, true, true}, false},
      {"from a shell, its output to a file", {false, true, false}, false},
      {"alone, its output to a file", {true, true, false}, false},
      {"alone, its input from a file", {true, false, true}, false},
      {"alone, without a console at all", {true, false, false}, false},
      {"by a program that reads its output", {false, false, false}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(waits_for_enter(c.console), c.waits) << c.started;
}

}  // namespace
}  // namespace zur::cli
