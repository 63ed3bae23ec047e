// SPDX-License-Identifier: MIT
// The level file is put in place whole or not at all: what is at its path
// before, odd files there, failures, signals and kills at any moment.
#include "engine/conversion/level_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <filesystem>
#include <functional>
#include <new>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/base/platform.h"
#include "engine/level/batch.h"
#include "tests/support/faulty_system.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const test::TgaBuilder kMap(6, 3);
const std::string kOldLevel = "old level";

Bytes to_bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

std::set<std::string> names_in(const test::TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

ConversionResult convert(const test::TempDir& dir, test::ScriptedPrompts& prompts,
                         platform::System& system = platform::default_system()) {
  Converter converter(prompts, system, [] { return 0u; });
  return converter.run_job(dir.prefix("lvl"));
}

fs::perms permissions_of(const fs::path& path) {
  return fs::status(path).permissions() & fs::perms::mask;
}

// Odd things at the level file's path fail before anything is written and
// are left as they were; the sources stay whole.
TEST(LevelFileSafety, OddOutputPathsGiveCannotAccessAndAreLeftAlone) {
  struct Case {
    const char* name;
    std::function<void(const test::TempDir&)> make;
    fs::file_type kept;
  };
  const fs::path tga = "lvl.TGA";
  std::vector<Case> cases = {
      {"folder", [](const auto& d) { fs::create_directory(d.path() / "lvl.lev"); },
       fs::file_type::directory},
      {"hard link to the map",
       [&](const auto& d) { fs::create_hard_link(d.path() / tga, d.path() / "lvl.lev"); },
       fs::file_type::regular},
      {"hard link to the config",
       [](const auto& d) { fs::create_hard_link(d.path() / "lvl.TXT", d.path() / "lvl.lev"); },
       fs::file_type::regular},
  };
#ifndef _WIN32
  // Named pipes, devices and symbolic links (which Windows gives only to
  // the privileged) are POSIX's.
  cases.insert(
      cases.end(),
      {
          {"named pipe", [](const auto& d) { ::mkfifo((d.path() / "lvl.lev").c_str(), 0600); },
           fs::file_type::fifo},
          {"device",
           [](const auto& d) {
             // A null device of the test's own: a writer that failed to
             // refuse it harms nothing outside the test's folder.
             ::mknod((d.path() / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3));
             fs::create_symlink(d.path() / "null", d.path() / "lvl.lev");
           },
           fs::file_type::symlink},
          {"link to the map", [&](const auto& d) { fs::create_symlink(tga, d.path() / "lvl.lev"); },
           fs::file_type::symlink},
      });
#endif
  for (const Case& c : cases) {
    test::TempDir dir;
    test::write_level(dir, "lvl", kMap);
    const Bytes map = dir.read("lvl.TGA");
    const Bytes config = dir.read("lvl.TXT");
    c.make(dir);
    const std::set<std::string> before = names_in(dir);
    test::ScriptedPrompts prompts;
    EXPECT_EQ(convert(dir, prompts), ConversionResult::kCannotAccessOutput) << c.name;
    EXPECT_EQ(fs::symlink_status(dir.path() / "lvl.lev").type(), c.kept) << c.name;
    EXPECT_EQ(dir.read("lvl.TGA"), map) << c.name;
    EXPECT_EQ(dir.read("lvl.TXT"), config) << c.name;
    EXPECT_EQ(names_in(dir), before) << c.name;
  }
}

TEST(LevelFileSafety, SymbolicLinkIsFollowedAndItsTargetReplaced) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  fs::create_directory(dir.path() / "out");
  dir.write("out/real.lev", kOldLevel);
  std::error_code error;
  fs::create_symlink("out/real.lev", dir.path() / "lvl.lev", error);
  if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir, prompts), ConversionResult::kSuccess);
  EXPECT_TRUE(fs::is_symlink(dir.path() / "lvl.lev"));
  EXPECT_EQ(dir.read("lvl.lev"), dir.read("out/real.lev"));
  EXPECT_EQ(dir.read("out/real.lev")[0], 'Z');
  EXPECT_EQ(names_in(dir),
            (std::set<std::string>{"lvl.TXT", "lvl.JPG", "lvl.TGA", "lvl.lev", "out"}));
}

TEST(LevelFileSafety, PermissionsOfAnExistingLevelFileAreKept) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no permission bits but read-only, which refuses the level file";
#endif
  for (const fs::perms mode : {fs::perms(0600), fs::perms(0640), fs::perms(0755)}) {
    test::TempDir dir;
    test::write_level(dir, "lvl", kMap);
    dir.write("lvl.lev", kOldLevel);
    fs::permissions(dir.path() / "lvl.lev", mode);
    test::ScriptedPrompts prompts;
    ASSERT_EQ(convert(dir, prompts), ConversionResult::kSuccess);
    EXPECT_EQ(permissions_of(dir.path() / "lvl.lev"), mode);
    EXPECT_NE(dir.read("lvl.lev"), to_bytes(kOldLevel));
  }
}

TEST(LevelFileSafety, NewLevelFileGetsTheUmaskPermissions) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows has no umask";
#else
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  const mode_t mask = ::umask(027);
  test::ScriptedPrompts prompts;
  const ConversionResult result = convert(dir, prompts);
  ::umask(mask);
  ASSERT_EQ(result, ConversionResult::kSuccess);
  EXPECT_EQ(permissions_of(dir.path() / "lvl.lev"), fs::perms(0640));
#endif
}

// Whether the folder and the old level file may be written decides between
// replacing it and leaving it alone: nothing is written in place.
TEST(LevelFileSafety, AccessToFolderAndLevelFile) {
  struct Case {
    const char* name;
    bool folder_writable, level_writable;
    ConversionResult result;
  };
  const Case cases[] = {
      {"read-only level file", true, false, ConversionResult::kNoAccessToOutput},
      {"read-only folder and file", false, false, ConversionResult::kNoAccessToOutput},
      {"read-only folder", false, true, ConversionResult::kNoAccessToOutput},
      {"both writable", true, true, ConversionResult::kSuccess},
  };
  const std::error_code denied = std::make_error_code(std::errc::permission_denied);
  for (const Case& c : cases) {
    test::TempDir dir;
    test::write_level(dir, "lvl", kMap);
    dir.write("lvl.lev", kOldLevel);
    {
      test::FaultySystem system;
      if (!c.folder_writable) system.create_error = denied;
      if (!c.level_writable) system.may_write_error = denied;
      test::ScriptedPrompts prompts;
      EXPECT_EQ(convert(dir, prompts, system), c.result) << c.name;
    }
    const bool kept = c.result != ConversionResult::kSuccess;
    EXPECT_EQ(dir.read("lvl.lev") == to_bytes(kOldLevel), kept) << c.name;
    EXPECT_EQ(names_in(dir), (std::set<std::string>{"lvl.TXT", "lvl.JPG", "lvl.TGA", "lvl.lev"}))
        << c.name;
  }
}

// A write that fails at any byte (a full disk) is result 14, no report, and
// neither the level file nor a temporary file remains.
TEST(LevelFileSafety, FailedWriteLeavesNothing) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  test::ScriptedPrompts reference;
  ASSERT_EQ(convert(dir, reference), ConversionResult::kSuccess);
  const std::uint64_t size = dir.read("lvl.lev").size();
  for (const std::uint64_t at :
       {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{500}, size / 2, size - 1}) {
    dir.write("lvl.lev", kOldLevel);
    test::FaultySystem system;
    system.fail_writes_at(at);
    test::ScriptedPrompts prompts;
    prompts.info_answers = {true};
    EXPECT_EQ(convert(dir, prompts, system), ConversionResult::kCannotAccessOutput) << at;
    EXPECT_EQ(prompts.messages().size(), 1u) << at;
    EXPECT_EQ(prompts.progress.back(), 0) << at;
    EXPECT_EQ(names_in(dir), (std::set<std::string>{"lvl.TXT", "lvl.JPG", "lvl.TGA"})) << at;
  }
}

// Interrupted before any step of a conversion that changes files, the level
// file is the old one or the complete new one, and no other file is left;
// the steps after the last are never reached.
TEST(LevelFileSafety, InterruptionAtEveryStepLeavesOldOrNewLevel) {
  test::TempDir dir;
  test::write_level(dir, "lvl", kMap);
  dir.write("lvl.JPG", std::string(300000, 'j'));
  int steps = 0;
  {
    test::FaultySystem counting;
    test::ScriptedPrompts prompts;
    ASSERT_EQ(convert(dir, prompts, counting), ConversionResult::kSuccess);
    steps = counting.steps();
  }
  ASSERT_GE(steps, 3);  // the file made, written and put in place
  const Bytes complete = dir.read("lvl.lev");
  const std::set<std::string> sources_and_level = names_in(dir);
  for (int step = 1; step <= steps + 1; ++step) {
    dir.write("lvl.lev", kOldLevel);
    {
      test::FaultySystem system;
      system.interrupt_at_step(step);
      test::ScriptedPrompts quiet;
      const ConversionResult result = convert(dir, quiet, system);
      EXPECT_EQ(result == ConversionResult::kSuccess, step > steps) << step;
    }
    const Bytes level = dir.exists("lvl.lev") ? dir.read("lvl.lev") : Bytes{};
    EXPECT_EQ(level, step > steps ? complete : to_bytes(kOldLevel)) << step;
    EXPECT_EQ(names_in(dir), sources_and_level) << step;
  }
}

// Memory running out inside a job fails that job with result 7; the batch
// goes on with the next level.
TEST(LevelFileSafety, AllocationFailureFailsTheJobOnly) {
  struct FailingPrompts : test::ScriptedPrompts {
    bool failed = false;
    void set_progress(int position) override {
      test::ScriptedPrompts::set_progress(position);
      if (!std::exchange(failed, true)) throw std::bad_alloc();
    }
  };
  test::TempDir dir;
  test::write_level(dir, "a", kMap);
  test::write_level(dir, "b", kMap);
  dir.write("a.lev", kOldLevel);
  FailingPrompts prompts;
  Converter converter(prompts, platform::default_system());
  EXPECT_EQ(converter.run_job(dir.prefix("a")), ConversionResult::kNotEnoughMemory);
  EXPECT_EQ(converter.run_job(dir.prefix("b")), ConversionResult::kSuccess);
  EXPECT_EQ(prompts.messages().front(), "Conversion failed.\nNot enough memory.");
  EXPECT_FALSE(dir.exists("a.lev"));
  EXPECT_TRUE(dir.exists("b.lev"));
}

// A level large enough that a conversion takes a while, killed at several
// moments: the level file is the old one or the complete new one, and no
// other file is left.
TEST(LevelFileSafety, KillAtAnyMomentLeavesOldOrNewLevel) {
#ifdef _WIN32
  GTEST_SKIP() << "fork and signals are POSIX's; InterruptionAtEveryStepLeavesOldOrNewLevel "
                  "interrupts the conversion at every step on both systems";
#else
  test::TgaBuilder map(512, 512);
  for (int y = 0; y < 512; ++y) {
    for (int x = y % 2; x < 512; x += 2) map.set(x, y, {0, 152, 0});
  }
  test::TempDir dir;
  test::write_level(dir, "lvl", map);
  dir.write("lvl.JPG", std::string(8 << 20, 'j'));
  test::ScriptedPrompts prompts;
  ASSERT_EQ(convert(dir, prompts), ConversionResult::kSuccess);
  const Bytes complete = dir.read("lvl.lev");
  const std::set<std::string> sources_and_level = names_in(dir);

  std::set<std::string> outcomes;
  for (const int signal : {SIGKILL, SIGTERM}) {
    for (const int delay_us : {0, 1000, 3000, 8000, 20000, 60000}) {
      dir.write("lvl.lev", kOldLevel);
      const pid_t child = ::fork();
      ASSERT_NE(child, -1);
      if (child == 0) {
        test::ScriptedPrompts quiet;
        ::_exit(convert(dir, quiet) == ConversionResult::kSuccess ? 0 : 1);
      }
      ::usleep(static_cast<useconds_t>(delay_us));
      ::kill(child, signal);
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      const Bytes level = dir.read("lvl.lev");
      const bool old_level = level == to_bytes(kOldLevel);
      EXPECT_TRUE(old_level || level == complete) << signal << " after " << delay_us << " us";
      // A hard kill between linking the temporary in and renaming it may
      // leave its hidden name; a catchable signal leaves none.
      std::set<std::string> names = names_in(dir);
      if (signal == SIGKILL) std::erase_if(names, [](const std::string& n) { return n[0] == '.'; });
      EXPECT_EQ(names, sources_and_level) << signal << " after " << delay_us << " us";
      outcomes.insert(old_level ? "old" : "new");
    }
  }
  EXPECT_TRUE(outcomes.contains("old"));  // some kill came before the end
#endif
}

// Appends, overwrites and insertions at random places and of sizes around
// the buffer's give the bytes the same edits give a byte vector.
TEST(LevelFileContent, InsertAndOverwriteMatchAVector) {
  std::mt19937 random(11);
  const auto below = [&](std::size_t n) { return n == 0 ? 0 : random() % n; };
  for (int trial = 0; trial < 40; ++trial) {
    test::TempDir dir;
    Bytes expected;
    {
      LevelFile out(platform::default_system());
      ASSERT_EQ(out.open((dir.path() / "level.lev").string()), ConversionResult::kSuccess);
      for (int edit = 0; edit < 8; ++edit) {
        const std::size_t sizes[] = {0, 1, 20, 65535, 65536, 200000};
        Bytes data(sizes[below(6)] + below(3));
        for (std::uint8_t& byte : data) byte = static_cast<std::uint8_t>(random());
        const std::size_t at = below(expected.size() + 1);
        const std::size_t overwrite = std::min(data.size(), expected.size() - at);
        switch (random() % 3) {
          case 0:
            out.append(data.data(), data.size());
            expected.insert(expected.end(), data.begin(), data.end());
            break;
          case 1:
            out.insert(at, data.data(), data.size());
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), data.begin(),
                            data.end());
            break;
          default:
            out.write_at(at, data.data(), overwrite);
            std::copy_n(data.begin(), overwrite,
                        expected.begin() + static_cast<std::ptrdiff_t>(at));
        }
        ASSERT_EQ(out.size(), expected.size()) << "trial " << trial << ", edit " << edit;
      }
      ASSERT_TRUE(out.commit());
    }
    ASSERT_EQ(dir.read("level.lev"), expected) << "trial " << trial;
  }
}

// Every registered name is removed, not just the last one, and a forgotten
// one is left alone.
TEST(TemporaryFile, InterruptRemovesEveryRegisteredFile) {
#ifdef _WIN32
  GTEST_SKIP() << "fork and signals are POSIX's; a console event reaches every program of the "
                  "console, the test's runner too";
#else
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    test::TempDir dir;
    for (const char* name : {".a.tmp", ".b.tmp", ".c.tmp", "kept"}) dir.write(name, "part");
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      for (const char* name : {".a.tmp", "kept", ".b.tmp", ".c.tmp"}) {
        platform::remove_on_interrupt(dir.prefix(name));
      }
      platform::forget_on_interrupt(dir.prefix("kept"));
      ::raise(signal);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
    EXPECT_EQ(names_in(dir), std::set<std::string>{"kept"}) << signal;
  }
#endif
}

}  // namespace
}  // namespace zur
