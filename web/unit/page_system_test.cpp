// SPDX-License-Identifier: MIT
// The page system over a temporary working folder, its dropped files held
// in memory: a level dropped in a folder converts as from the disk, the
// listings and kinds the dropped paths make, a file written over a dropped
// one, reads of a dropped file that fail, and the files it holds as the
// engine writes them: across chunks and gaps, put in place, replaced,
// refused, removed and taken out.
#include "web/page_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "engine/base/input_file.h"
#include "engine/level/batch.h"
#include "engine/level/mapped_file.h"
#include "tests/support/level_sources.h"
#include "tests/support/scripted_prompts.h"

namespace zur {
namespace {

namespace fs = std::filesystem;
using platform::FileKind;

// The dropped files, held in memory as the worker holds its File objects;
// a file made unreadable fails every read, as one saved again since.
class HeldFiles final : public web::DroppedFiles {
 public:
  void drop(const std::string& path, const std::string& bytes) {
    files_[path] = {bytes, ++identities_};
  }
  std::set<std::string> unreadable;
  std::size_t open_count() const { return opened_.size(); }

  std::vector<std::string> paths() override {
    std::vector<std::string> paths;
    for (const auto& [path, file] : files_) paths.push_back(path);
    return paths;
  }
  std::optional<Found> find(const std::string& path) override {
    const auto found = files_.find(path);
    if (found == files_.end()) return std::nullopt;
    return Found{found->second.identity, found->second.bytes.size()};
  }
  std::uint32_t open(const std::string& path) override {
    if (!files_.contains(path)) return 0;
    opened_[++openings_] = path;
    return openings_;
  }
  std::optional<std::size_t> read(std::uint32_t file, std::uint64_t offset, void* into,
                                  std::size_t count) override {
    const std::string& path = opened_.at(file);
    if (unreadable.contains(path)) return std::nullopt;
    const std::string& bytes = files_.at(path).bytes;
    const std::size_t at = static_cast<std::size_t>(std::min<std::uint64_t>(offset, bytes.size()));
    const std::size_t got = std::min(count, bytes.size() - at);
    std::copy_n(bytes.data() + at, got, static_cast<char*>(into));
    return got;
  }
  void close(std::uint32_t file) override { opened_.erase(file); }

 private:
  struct Held {
    std::string bytes;
    std::uint64_t identity = 0;
  };
  std::map<std::string, Held> files_;
  std::map<std::uint32_t, std::string> opened_;
  std::uint64_t identities_ = 0;
  std::uint32_t openings_ = 0;
};

// The page system is the engine's, and the working folder an empty
// temporary one, while a test runs.
class PageSystemTest : public testing::Test {
 protected:
  PageSystemTest() : before_(fs::current_path()) { fs::current_path(working_.path()); }
  ~PageSystemTest() override { fs::current_path(before_); }

  // Every file and folder in the working folder, relative to it.
  std::set<std::string> written() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(working_.path())) {
      names.insert(entry.path().lexically_relative(working_.path()).generic_string());
    }
    return names;
  }
  // Writes `bytes` through a new file put in place at `path`: the first failure.
  std::error_code write_file(const std::string& path, const std::string& bytes, bool replace) {
    const std::string target = system_.final_path(path);
    std::unique_ptr<platform::NewFile> file;
    if (const std::error_code error = system_.create_temporary(target, file)) return error;
    if (const std::error_code error = file->write_at(0, bytes.data(), bytes.size())) return error;
    return file->put_in_place(target, replace);
  }
  // Each name once, a folder's with a "/" after it; a failure as its reason.
  std::multiset<std::string> listed(const std::string& folder) {
    std::vector<platform::FolderEntry> entries;
    if (const std::error_code error = system_.folder_entries(folder, entries)) {
      return std::multiset<std::string>{error.message()};
    }
    std::multiset<std::string> names;
    for (const platform::FolderEntry& entry : entries) {
      names.insert(entry.name + (entry.folder ? "/" : ""));
    }
    return names;
  }
  std::string read_all(const std::string& path) {
    InputFile file(system_);
    if (!file.open(path).ok()) return "(cannot open)";
    std::string bytes(static_cast<std::size_t>(file.size()), '\0');
    return file.read_exact(bytes.data(), bytes.size()) ? bytes : "(cannot read)";
  }

  test::TempDir working_;
  fs::path before_;
  HeldFiles dropped_;
  web::PageSystem system_{platform::default_system(), dropped_};
};

TEST_F(PageSystemTest, LevelDroppedInAFolderConvertsAsFromTheDiskIntoAFolderOfItsOwn) {
  test::TempDir disk;
  test::write_level(disk, "good", test::TgaBuilder(4, 4));
  for (const auto& entry : fs::directory_iterator(disk.path())) {
    const std::string name = entry.path().filename().string();
    dropped_.drop("levels/" + name, test::read_whole(entry.path()));
  }
  test::ScriptedPrompts prompts;
  Converter from_disk(prompts, platform::default_system());
  ASSERT_EQ(from_disk.run_job(disk.prefix("good")), ConversionResult::kSuccess);
  Converter converter(prompts, system_);
  ASSERT_EQ(converter.run_job("levels/good"), ConversionResult::kSuccess);
  EXPECT_EQ(read_all("levels/good.lev"), test::read_whole(disk.path() / "good.lev"));
  // The sources were read where they were dropped, and every one closed;
  // the level file is held in memory, listed beside them.
  EXPECT_TRUE(written().empty());
  EXPECT_EQ(dropped_.open_count(), 0u);
  EXPECT_EQ(listed("levels").count("good.lev"), 1u);
}

TEST_F(PageSystemTest, DroppedPathsMakeFoldersListedWithWhatIsWritten) {
  dropped_.drop("top.txt", "top");
  dropped_.drop("levels/a.txt", "dropped a");
  dropped_.drop("levels/deep/b.txt", "b");
  fs::create_directory("levels");
  working_.write("levels/a.txt", "written a");
  working_.write("levels/a.lev", "level");

  EXPECT_EQ(listed("."), (std::multiset<std::string>{"levels/", "top.txt"}));
  EXPECT_EQ(listed("levels/"), (std::multiset<std::string>{"a.lev", "a.txt", "deep/"}));
  EXPECT_EQ(listed("levels/deep"), (std::multiset<std::string>{"b.txt"}));
  EXPECT_EQ(listed("nowhere"),
            (std::multiset<std::string>{
                std::make_error_code(std::errc::no_such_file_or_directory).message()}));

  const struct {
    std::string path;
    FileKind kind;
    std::uint64_t size;
  } cases[] = {
      {"top.txt", FileKind::kRegular, 3},
      {"./levels/../top.txt", FileKind::kRegular, 3},
      {(working_.path() / "top.txt").string(), FileKind::kRegular, 3},
      {"levels/deep/b.txt", FileKind::kRegular, 1},
      {"levels/deep", FileKind::kFolder, 0},
      {"levels/a.txt", FileKind::kRegular, 9},  // the written one
      {"levels/b.txt", FileKind::kMissing, 0},
      {"levels/dee", FileKind::kMissing, 0},
      {"../top.txt", FileKind::kMissing, 0},
  };
  for (const auto& c : cases) {
    platform::FileStatus status;
    EXPECT_FALSE(system_.file_status(c.path, status)) << c.path;
    EXPECT_EQ(status.kind, c.kind) << c.path;
    if (c.kind == FileKind::kRegular) EXPECT_EQ(status.size, c.size) << c.path;
  }
}

TEST_F(PageSystemTest, FileWrittenOverADroppedOneIsReadUntilRemovedAndTheDroppedOneStays) {
  dropped_.drop("old.lev", "dropped");
  platform::FileStatus dropped, written;
  ASSERT_FALSE(system_.file_status("old.lev", dropped));
  EXPECT_FALSE(system_.may_write("old.lev"));
  working_.write("old.lev", "written over");
  ASSERT_FALSE(system_.file_status("old.lev", written));
  EXPECT_NE(written.identity, dropped.identity);
  EXPECT_EQ(read_all("old.lev"), "written over");

  EXPECT_FALSE(system_.remove_file("old.lev"));
  EXPECT_EQ(read_all("old.lev"), "dropped");
  EXPECT_FALSE(system_.remove_file("old.lev"));
  EXPECT_EQ(read_all("old.lev"), "dropped");
  EXPECT_EQ(system_.remove_file("never.lev"), std::errc::no_such_file_or_directory);
}

TEST_F(PageSystemTest, DroppedFileIsMappedAsACopyAndOneThatCannotBeReadFails) {
  dropped_.drop("level.lev", "level bytes");
  {
    MappedFile file(system_);
    ASSERT_TRUE(file.open("level.lev").ok());
    EXPECT_EQ(std::string(file.bytes().begin(), file.bytes().end()), "level bytes");
  }
  EXPECT_EQ(dropped_.open_count(), 0u);

  dropped_.unreadable.insert("level.lev");
  MappedFile unreadable(system_);
  EXPECT_FALSE(unreadable.open("level.lev").ok());
  InputFile file(system_);
  ASSERT_TRUE(file.open("level.lev").ok());
  char byte = 0;
  std::size_t got = 0;
  EXPECT_EQ(system_.read_at(file.handle(), 0, &byte, 1, got), std::errc::io_error);
}

// Each row one file written in pieces, as the level writer writes: bytes
// never 0, so that a gap reads apart from them.
TEST_F(PageSystemTest, WrittenFileReadsBackAsWrittenAcrossChunksAndGapsAndIsTakenOut) {
  constexpr std::uint64_t kChunk = web::WrittenFile::kChunkBytes;
  const std::vector<std::pair<std::uint64_t, std::size_t>> cases[] = {
      {{0, 3}},
      {{kChunk - 2, 4}},                     // a gap, then across a chunk's edge
      {{0, 2 * kChunk + 5}},                 // three chunks at once
      {{10, 5}, {0, 3}},                     // into a gap left before
      {{0, kChunk + 10}, {kChunk - 5, 10}},  // over written bytes, across an edge
      {{3 * kChunk, 1}},                     // whole chunks of gap
      {{5, 0}},                              // nothing
  };
  const std::string target = system_.final_path("w.lev");
  char next = 0;
  for (const auto& writes : cases) {
    SCOPED_TRACE(testing::PrintToString(writes));
    std::unique_ptr<platform::NewFile> file;
    ASSERT_FALSE(system_.create_temporary(target, file));
    std::string expected;
    for (const auto& [offset, count] : writes) {
      std::string bytes(count, '\0');
      for (char& byte : bytes) byte = static_cast<char>(++next % 255 + 1);
      ASSERT_FALSE(file->write_at(offset, bytes.data(), count));
      if (count == 0) continue;
      expected.resize(std::max<std::size_t>(expected.size(), offset + count), '\0');
      expected.replace(offset, count, bytes);
    }
    // A write the memory cannot hold fails and changes nothing.
    EXPECT_EQ(file->write_at(std::uint64_t{1} << 62, "x", 1), std::errc::not_enough_memory);
    std::string back(expected.size(), '\1');
    EXPECT_FALSE(file->read_at(0, back.data(), back.size()));
    EXPECT_TRUE(back == expected);
    char past = 0;
    EXPECT_EQ(file->read_at(expected.size(), &past, 1), std::errc::io_error);

    ASSERT_FALSE(file->put_in_place(target, true));
    EXPECT_TRUE(read_all("w.lev") == expected);
    const std::shared_ptr<const web::WrittenFile> taken = system_.take_written("./w.lev");
    ASSERT_TRUE(taken);
    std::string parts;
    for (const std::span<const std::uint8_t> part : taken->parts()) {
      EXPECT_LE(part.size(), kChunk);
      parts.append(part.begin(), part.end());
    }
    EXPECT_TRUE(parts == expected);
    EXPECT_FALSE(system_.name_exists("w.lev"));
  }
  EXPECT_TRUE(written().empty());
}

// One row after another, on the same files: what the path reads after each.
TEST_F(PageSystemTest, WrittenFilesArePutInPlaceReplacedRefusedAndRemovedAsOnADisk) {
  dropped_.drop("old.lev", "dropped");
  dropped_.drop("levels/a.txt", "a");
  fs::create_directory("made");
  working_.write("made/disk.lev", "on disk");
  constexpr std::errc kNone{};
  enum Action { kReplace, kKeep, kRemove };
  const struct {
    Action action;
    std::string path;
    std::errc error;
    std::string then;
  } steps[] = {
      {kKeep, "new.lev", kNone, "new.lev"},
      {kKeep, "new.lev", std::errc::file_exists, "new.lev"},
      {kReplace, "./levels/../new.lev", kNone, "./levels/../new.lev"},
      {kKeep, "old.lev", std::errc::file_exists, "dropped"},
      {kReplace, "old.lev", kNone, "old.lev"},
      {kRemove, "old.lev", kNone, "dropped"},
      {kReplace, "levels/a.txt", kNone, "levels/a.txt"},
      {kReplace, "levels/b.lev", kNone, "levels/b.lev"},
      {kReplace, "made/disk.lev", kNone, "made/disk.lev"},
      {kRemove, "made/disk.lev", kNone, "(cannot open)"},
      {kReplace, "nowhere/a.lev", std::errc::no_such_file_or_directory, "(cannot open)"},
      {kReplace, "old.lev/a.lev", std::errc::not_a_directory, "(cannot open)"},
      {kReplace, "levels", std::errc::is_a_directory, "(cannot open)"},
      {kRemove, "new.lev", kNone, "(cannot open)"},
      {kRemove, "new.lev", std::errc::no_such_file_or_directory, "(cannot open)"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.path);
    const std::error_code error = step.action == kRemove
                                      ? system_.remove_file(step.path)
                                      : write_file(step.path, step.path, step.action == kReplace);
    if (step.error == kNone) {
      EXPECT_FALSE(error) << error.message();
    } else {
      EXPECT_EQ(error, step.error) << error.message();
    }
    EXPECT_EQ(read_all(step.path), step.then);
  }
  EXPECT_EQ(listed("."), (std::multiset<std::string>{"levels/", "made/", "old.lev"}));
  EXPECT_EQ(listed("levels"), (std::multiset<std::string>{"a.txt", "b.lev"}));
  EXPECT_TRUE(listed("made").empty());
  EXPECT_EQ(written(), (std::set<std::string>{"made"}));
}

}  // namespace
}  // namespace zur
