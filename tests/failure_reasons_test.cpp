// SPDX-License-Identifier: MIT
// A level file that cannot be written fails its level with the fixed
// message, and zurconv then names the system's reason on a line of its
// own; an old level file that cannot be removed is told the same way.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/support/level_sources.h"
#include "tests/support/run_command.h"
#include "tests/support/system_reasons.h"

namespace zur {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

constexpr const char* kCouldNotAccess = "zurconv: lvl:\nConversion failed.\n\nCould not access \n";
constexpr const char* kNoAccess =
    "zurconv: lvl:\nConversion failed.\nNo access to output file.\n\n";

struct Case {
  const char* name;
  std::function<void(const TempDir&)> set_up;
  std::vector<std::string> arguments;
  bool as_nobody;
  std::string err;
  bool old_level_stays;
};

TEST(FailureReasons, ZurconvNamesTheSystemsReasonAfterTheMessage) {
  const auto old_level = [](const TempDir& dir) { dir.write("lvl.lev", std::string("old")); };
  std::vector<Case> cases = {
      {"a read-only level file",
       [&](const TempDir& dir) {
         old_level(dir);
         fs::permissions(dir.path() / "lvl.lev",
                         fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
       },
       {"lvl"},
       true,
       std::string(kNoAccess) +
           "zurconv: lvl: cannot write lvl.lev: " + test::access_denied_reason() + "\n",
       true},
      {"a folder that does not exist",
       [](const TempDir&) {},
       {"-o", "nofolder/lvl.lev", "lvl"},
       false,
       std::string(kCouldNotAccess) +
           "nofolder/lvl.lev\n\nzurconv: lvl: cannot write nofolder/lvl.lev: " +
           test::folder_missing_reason() + "\n",
       false},
      {"the same file as the map",
       [](const TempDir& dir) {
         fs::create_hard_link(dir.prefix("lvl.TGA"), dir.prefix("lvl.lev"));
       },
       {"lvl"},
       false,
       std::string(kCouldNotAccess) +
           "lvl.lev\n\nzurconv: lvl: cannot write lvl.lev: it is the same file as lvl.TGA\n",
       true},
  };
#ifndef _WIN32
  // In a folder where everyone may make files but only a file's owner may
  // remove it, someone else's level can be neither replaced nor removed.
  cases.push_back({"a level file that cannot be removed",
                   [&](const TempDir& dir) {
                     old_level(dir);
                     fs::permissions(dir.path() / "lvl.lev", fs::perms(0666));
                     fs::permissions(dir.path(), fs::perms(01777));
                   },
                   {"lvl"},
                   true,
                   std::string(kCouldNotAccess) +
                       "lvl.lev\n\nzurconv: lvl: cannot write lvl.lev: Operation not permitted\n"
                       "zurconv: lvl: cannot remove the old level file lvl.lev: Operation not "
                       "permitted\n",
                   true});
#endif
  for (const Case& c : cases) {
    TempDir dir;
    test::write_level(dir, "lvl", test::TgaBuilder(4, 4));
    fs::permissions(dir.path(), fs::perms::all);
    c.set_up(dir);
    std::vector<std::string> arguments = {"-q", "-y"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    // Nobody may not enter the checkout (a home folder of mode 0700), so
    // nobody runs a copy of the program from the level's folder.
    const std::string program = c.as_nobody ? dir.prefix(".zurconv") : ZURCONV_PATH;
    if (c.as_nobody) fs::copy_file(ZURCONV_PATH, program);
    test::CommandOutput output;
    const auto convert = [&] {
      output = test::run_command(program, arguments, dir.path());
      return output.status == 1 && output.err == c.err ? 0 : 1;
    };
    EXPECT_EQ(c.as_nobody ? test::as_unprivileged(convert) : convert(), 0) << c.name << ":\n"
                                                                           << output.err;
    fs::permissions(dir.path(), fs::perms::all);
    EXPECT_EQ(dir.exists("lvl.lev"), c.old_level_stays) << c.name;
  }
}

}  // namespace
}  // namespace zur
