// SPDX-License-Identifier: MIT
// The zurconv-gui program itself, run as its own process on the test screen.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "tests/gui/screen_pixels.h"
#include "tests/support/level_sources.h"
#include "zur/prompts.h"

extern char** environ;

namespace zur::gui_test {
namespace {

// Waits up to about ten seconds for the child to end; its exit status, or
// -1 when it did not end (it is then killed).
int WaitForExit(pid_t child) {
  for (int i = 0; i < 1000; ++i) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    wxMilliSleep(10);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return -1;
}

TEST(ZurconvGui, IgnoresItsCommandLineAndEndsWithStatus0OnExit) {
  test::TempDir dir;
  test::write_level(dir, "jungle", test::TgaBuilder(8, 8));
  const std::string program = ZURCONV_GUI_PATH;
  const std::string prefix = dir.prefix("jungle");
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(prefix.c_str()), nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ), 0);

  for (int i = 0; i < 1000 && !WindowShown(kProgramTitle); ++i) wxMilliSleep(10);
  if (!WindowShown(kProgramTitle)) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    FAIL() << "the dialog did not appear";
  }
  wxMilliSleep(300);  // lets it take the keyboard focus

  // The newest window has the keyboard focus: Alt+X is Exit.
  wxUIActionSimulator().Char('x', wxMOD_ALT);

  EXPECT_EQ(WaitForExit(child), 0);
  EXPECT_FALSE(dir.exists("jungle.lev")) << "the prefix on the command line was converted";
}

}  // namespace
}  // namespace zur::gui_test
