// SPDX-License-Identifier: MIT
// Every file the tools write follows one policy: links followed, odd targets
// and targets that are files the command reads or writes refused before
// anything is written, the file put in place only when complete. One table
// of targets over the four writers: the level file, an unpacked source, the
// check mask and the depfile.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

#include <filesystem>
#include <functional>
#include <map>
#include <random>

#include "engine/attrmap/palette.h"
#include "engine/base/output_file.h"
#include "engine/level/batch.h"
#include "engine/level/depfile.h"
#include "engine/level/level_check.h"
#include "engine/level/level_reader.h"
#include "engine/level/level_unpacker.h"
#include "tests/support/faulty_system.h"
#include "tests/support/level_sources.h"
#include "tests/support/run_command.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

namespace fs = std::filesystem;
using test::CommandOutput;
using test::TempDir;
using Bytes = std::vector<std::uint8_t>;

struct Writer {
  const char* name;
  const char* program;
  std::vector<std::string> arguments;
  std::string target;                // the file it writes, relative to the folder
  std::vector<std::string> guarded;  // what it reads or writes besides the target
};

const Writer kWriters[] = {
    {"level file",
     ZURCONV_PATH,
     {"-q", "-y", "-o", "t.lev", "lvl"},
     "t.lev",
     {"lvl.TXT", "lvl.TGA", "lvl.JPG"}},
    {"unpacked source",
     ZURLEV_PATH,
     {"unpack", "--force", "-o", "out", "--width", "120", "lvl.lev"},
     "out/lvl.tga",
     {"lvl.lev", "out/lvl.txt", "out/lvl.jpg"}},
    {"check mask",
     ZURCONV_PATH,
     {"--check", "--mask", "lvl"},
     "lvl-check.png",
     {"lvl.TXT", "lvl.TGA", "lvl.JPG", "lvl.lev"}},
    {"depfile",
     ZURCONV_PATH,
     {"-q", "-y", "-o", "new.lev", "--depfile", "t.d", "lvl"},
     "t.d",
     {"lvl.TXT", "lvl.TGA", "lvl.JPG", "new.lev"}},
};

// A map of random palette colours, so that none of the outputs compresses
// below the byte at which the failing write fails.
test::TgaBuilder noisy_map() {
  test::TgaBuilder map(120, 90);
  std::mt19937 random(7);
  for (int y = 0; y < map.height(); ++y) {
    for (int x = 0; x < map.width(); ++x) {
      const Rgb colour = kPalette[random() % 32].colour;
      map.set(x, y, {colour.red, colour.green, colour.blue});
    }
  }
  return map;
}

// The level and its level file, converted in this program: a start of
// zurconv costs more than the conversion, under Wine most of all.
void make_folder(const TempDir& dir) {
  test::write_level(dir, "lvl", noisy_map());
  test::ScriptedPrompts prompts;
  ASSERT_EQ(Converter(prompts, platform::default_system()).run_job(dir.prefix("lvl")),
            ConversionResult::kSuccess);
  fs::create_directory(dir.path() / "out");
  dir.write("other.bin", std::string("unrelated"));
}

// Every regular file under the folder with its bytes; symbolic links as
// where they point.
std::map<std::string, std::string> snapshot(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    const std::string name = fs::relative(entry.path(), dir.path()).string();
    if (entry.is_symlink()) {
      files[name] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      files[name] = test::read_whole(entry.path());
    }
  }
  return files;
}

bool has_hidden_file(const TempDir& dir) {
  for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
    if (entry.path().filename().string().starts_with(".")) return true;
  }
  return false;
}

// What is at the target before the run, and whether the run must succeed;
// `changed` is the one file the run may change besides the target. `make`
// says whether this system could make it (Windows gives symbolic links only
// to the privileged).
struct Target {
  std::string name;
  std::function<bool(const TempDir&, const Writer&)> make;
  bool succeeds;
  const char* changed = nullptr;
};

fs::path at(const TempDir& dir, const Writer& writer) {
  return dir.path() / writer.target;
}

bool made_symlink(const fs::path& to, const fs::path& link) {
  std::error_code error;
  fs::create_symlink(to, link, error);
  return !error;
}

// Odd files at a writer's target, and links to what it reads or writes.
std::vector<Target> targets_of(const Writer& writer) {
  std::vector<Target> targets = {
      {"symbolic link to an unrelated file",
       [](const TempDir& d, const Writer& w) {
         return made_symlink(d.path() / "other.bin", at(d, w));
       },
       true, "other.bin"},
      {"dangling symbolic link",
       [](const TempDir& d, const Writer& w) { return made_symlink(d.path() / "fresh", at(d, w)); },
       true, "fresh"},
      {"folder", [](const TempDir& d, const Writer& w) { return fs::create_directory(at(d, w)); },
       false},
#ifndef _WIN32
      {"named pipe",
       [](const TempDir& d, const Writer& w) {
         EXPECT_EQ(::mkfifo(at(d, w).c_str(), 0600), 0);
         return true;
       },
       false},
      // A null device of the test's own, so that a writer that failed to
      // refuse it could harm nothing outside the test's folder.
      {"device",
       [](const TempDir& d, const Writer& w) {
         EXPECT_EQ(::mknod((d.path() / "null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
         fs::create_symlink(d.path() / "null", at(d, w));
         return true;
       },
       false},
#endif
  };
  // A link to anything the command reads or writes is refused.
  for (const std::string& guarded : writer.guarded) {
    targets.push_back({"symbolic link to " + guarded,
                       [guarded](const TempDir& d, const Writer& w) {
                         return made_symlink(d.path() / guarded, at(d, w));
                       },
                       false});
    targets.push_back({"hard link to " + guarded,
                       [guarded](const TempDir& d, const Writer& w) {
                         if (!fs::exists(d.path() / guarded)) {
                           return made_symlink(d.path() / guarded, at(d, w));
                         }
                         fs::create_hard_link(d.path() / guarded, at(d, w));
                         return true;
                       },
                       false});
  }
  return targets;
}

CommandOutput run(const TempDir& dir, const Writer& writer) {
  return test::run_command(writer.program, writer.arguments, dir.path());
}

bool reports_failure(const CommandOutput& output) {
  return output.status == 1 && (output.err.find("cannot write") != std::string::npos ||
                                output.err.find("Conversion failed.") != std::string::npos);
}

// Whether the run wrote its file; the check's exit status also tells of the
// level's problems.
bool wrote(const Writer& writer, const CommandOutput& output) {
  if (writer.target == "lvl-check.png") return output.err.find("cannot write") == std::string::npos;
  return output.status == 0;
}

// That nothing but the target (when written) and `changed` changed, and no
// temporary file is left.
void expect_unchanged(const TempDir& dir, const Writer& writer, bool succeeds,
                      const std::map<std::string, std::string>& before, const char* changed,
                      const std::string& label) {
  EXPECT_FALSE(has_hidden_file(dir)) << label;
  const std::map<std::string, std::string> after = snapshot(dir);
  // A refused output is refused before anything is written.
  if (!succeeds) {
    EXPECT_EQ(after.size(), before.size()) << label;
  }
  for (const auto& [name, bytes] : before) {
    if (name == writer.target && succeeds) continue;
    if (changed != nullptr && name == changed) continue;
    if (std::find(writer.guarded.begin(), writer.guarded.end(), name) != writer.guarded.end() &&
        succeeds) {
      continue;  // the writer's own other outputs
    }
    const auto found = after.find(name);
    EXPECT_TRUE(found != after.end() && found->second == bytes) << label << ": " << name;
  }
}

TEST(OutputPolicy, EveryWriterFollowsOnePolicyForEveryTarget) {
  for (const Writer& writer : kWriters) {
    for (const Target& target : targets_of(writer)) {
      const std::string label = std::string(writer.name) + ", " + target.name;
      TempDir dir;
      make_folder(dir);
      if (!target.make(dir, writer)) continue;
      const auto before = snapshot(dir);
      const CommandOutput output = run(dir, writer);
      EXPECT_EQ(wrote(writer, output), target.succeeds) << label << "\n" << output.err;
      if (!target.succeeds) {
        EXPECT_TRUE(reports_failure(output)) << label << "\n" << output.err;
      }
      expect_unchanged(dir, writer, target.succeeds, before, target.changed, label);
      if (target.succeeds) {
        EXPECT_TRUE(fs::is_symlink(at(dir, writer))) << label;
      }
    }
  }
}

// Runs the writer's own code in this program, so that a stand-in system can
// fail it; true when it failed.
bool fails_in_process(const TempDir& dir, const Writer& writer, platform::System& system) {
  test::ScriptedPrompts prompts;
  prompts.info_answers = {true};
  Converter converter(prompts, system);
  if (writer.target == "t.lev") {
    return converter.run_job(dir.prefix("lvl"), dir.prefix("t.lev")) != ConversionResult::kSuccess;
  }
  if (writer.target == "out/lvl.tga") {
    const Bytes level = dir.read("lvl.lev");
    const LevelContents contents = read_level(level, {120});
    return !unpack_level(level, contents, dir.prefix("out/lvl"), true, "", system).status.ok();
  }
  if (writer.target == "lvl-check.png") {
    return !check_level(dir.prefix("lvl"), true, system).mask_status.ok();
  }
  // The depfile, opened before its level is converted, as zurconv does.
  OutputFile depfile(system);
  const std::string others[] = {dir.prefix("new.lev")};
  if (!depfile.open(dir.prefix("t.d"), others).ok()) return true;
  if (converter.run_job(dir.prefix("lvl"), dir.prefix("new.lev")) != ConversionResult::kSuccess) {
    return true;
  }
  const std::optional<std::string> rule =
      depfile_rule(converter.last().level_file, converter.last().sources_read);
  depfile.write_at(0, rule->data(), rule->size());
  return !depfile.commit().ok();
}

// A folder that takes no new file, a read-only target, and a write that
// fails midway (a full disk) each fail, change nothing and leave nothing.
TEST(OutputPolicy, DeniedAccessAndFailedWritesChangeNothing) {
  const std::error_code denied = std::make_error_code(std::errc::permission_denied);
  const struct {
    const char* name;
    std::function<void(test::FaultySystem&)> make;
    bool opened;  // the target was opened before the fault
  } troubles[] = {
      {"read-only folder", [&](test::FaultySystem& system) { system.create_error = denied; },
       false},
      {"read-only file", [&](test::FaultySystem& system) { system.may_write_error = denied; },
       false},
      {"disk full at once", [](test::FaultySystem& system) { system.fail_writes_at(1); }, true},
      {"disk full midway", [](test::FaultySystem& system) { system.fail_writes_at(4096); }, true},
  };
  for (const Writer& writer : kWriters) {
    for (const auto& trouble : troubles) {
      const std::string label = std::string(writer.name) + ", " + trouble.name;
      TempDir dir;
      make_folder(dir);
      dir.write(writer.target, std::string("old"));
      auto before = snapshot(dir);
      // A conversion that fails once it has opened its level file removes
      // the old one.
      if (trouble.opened && writer.target == "t.lev") before.erase(writer.target);
      {
        test::FaultySystem system;
        trouble.make(system);
        EXPECT_TRUE(fails_in_process(dir, writer, system)) << label;
      }
      expect_unchanged(dir, writer, false, before, nullptr, label);
    }
  }
}

// A mask that cannot be written fails its level, with the reason and no
// noise of the PNG library.
TEST(OutputPolicy, FailedMaskFailsItsLevelWithItsReason) {
  TempDir dir;
  make_folder(dir);
  // A JPEG of the map's size that holds only its frame header: no errors.
  const char kJpeg[] = "\xFF\xD8\xFF\xC0\0\x0B\x08\0\x5A\0\x78\x01\x01\x11\0\xFF\xD9";
  dir.write("lvl.JPG", std::string(kJpeg, sizeof kJpeg - 1));
  ASSERT_FALSE(
      has_failure(check_level(dir.prefix("lvl"), false, platform::default_system()), false));
  test::FaultySystem system;
  system.fail_writes_at(4096, std::make_error_code(std::errc::file_too_large));
  ::testing::internal::CaptureStderr();
  const LevelCheck check = check_level(dir.prefix("lvl"), true, system);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(has_failure(check, false));
  ASSERT_FALSE(check.mask_status.ok());
  EXPECT_EQ(check.mask_status.text(),
            "cannot write " + dir.prefix("lvl-check.png") + ": File too large");
  EXPECT_FALSE(dir.exists("lvl-check.png"));
}

}  // namespace
}  // namespace zur
