// SPDX-License-Identifier: MIT
#include "engine/base/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "tests/support/level_sources.h"

namespace zur::platform {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr const char* kDevicePath = "NUL";
#else
constexpr const char* kDevicePath = "/dev/null";
#endif

System& real = default_system();

// Paths and names as the seam takes them: UTF-8 on every system.
std::string utf8(std::u8string_view text) {
  return {text.begin(), text.end()};
}
std::string utf8_path(const fs::path& path) {
  return utf8(path.u8string());
}

std::vector<std::string> names_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(utf8_path(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Writes `contents` through a temporary file beside `target` and puts it there.
std::error_code write_through_temporary(const std::string& target, const std::string& contents,
                                        bool replace) {
  std::unique_ptr<NewFile> file;
  if (const std::error_code error = real.create_temporary(target, file)) return error;
  if (const std::error_code error = file->write_at(0, contents.data(), contents.size())) {
    return error;
  }
  return file->put_in_place(target, replace);
}

TEST(Platform, FileStatusTellsKindSizeAndMissing) {
  const test::TempDir dir;
  dir.write("level.tga", std::string(1234, 'x'));
  fs::create_directory(dir.path() / "folder");
  const struct {
    std::string path;
    FileKind kind;
  } cases[] = {
      {dir.prefix("level.tga"), FileKind::kRegular},
      {dir.prefix("folder"), FileKind::kFolder},
      {dir.prefix("missing.tga"), FileKind::kMissing},
      {dir.prefix("missing/level.tga"), FileKind::kMissing},
      {kDevicePath, FileKind::kDevice},
  };
  for (const auto& c : cases) {
    FileStatus status;
    EXPECT_FALSE(real.file_status(c.path, status)) << c.path;
    EXPECT_EQ(status.kind, c.kind) << c.path;
  }
  FileStatus status;
  ASSERT_FALSE(real.file_status(dir.prefix("level.tga"), status));
  EXPECT_EQ(status.size, 1234u);
}

TEST(Platform, AHardLinkIsTheSameFileACopyIsNot) {
  const test::TempDir dir;
  dir.write("level.tga", "map");
  fs::create_hard_link(dir.path() / "level.tga", dir.path() / "level.lev");
  fs::copy_file(dir.path() / "level.tga", dir.path() / "copy.tga");
  FileStatus original, link, copy;
  ASSERT_FALSE(real.file_status(dir.prefix("level.tga"), original));
  ASSERT_FALSE(real.file_status(dir.prefix("level.lev"), link));
  ASSERT_FALSE(real.file_status(dir.prefix("copy.tga"), copy));
  EXPECT_EQ(link.identity, original.identity);
  EXPECT_NE(copy.identity, original.identity);

  FileHandle file = kNoFile;
  ASSERT_FALSE(real.open_for_reading(dir.prefix("level.lev"), file));
  FileStatus opened;
  EXPECT_FALSE(real.status_of(file, opened));
  real.close_file(file);
  EXPECT_EQ(opened.identity, original.identity);
}

TEST(Platform, ReadsAtOffsetsUpToTheEnd) {
  const test::TempDir dir;
  dir.write("level.txt", "0123456789");
  FileHandle file = kNoFile;
  ASSERT_FALSE(real.open_for_reading(dir.prefix("level.txt"), file));
  char bytes[8] = {};
  std::size_t got = 0;
  EXPECT_FALSE(real.read_at(file, 6, bytes, sizeof bytes, got));
  EXPECT_EQ(std::string(bytes, got), "6789");
  EXPECT_FALSE(real.read_at(file, 10, bytes, sizeof bytes, got));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(real.next_data(file, 3, 10), 3u);
  const std::uint8_t* mapped = real.map_read_only(file, 10);
  real.close_file(file);
  ASSERT_NE(mapped, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(mapped), 10), "0123456789");
  real.unmap(mapped, 10);
}

TEST(Platform, OnlyRegularFilesOpenForReading) {
  const test::TempDir dir;
  fs::create_directory(dir.path() / "folder");
  FileHandle file = kNoFile;
  EXPECT_EQ(real.open_for_reading(dir.prefix("folder"), file), not_a_regular_file());
  EXPECT_EQ(real.open_for_reading(kDevicePath, file), not_a_regular_file());
  EXPECT_EQ(real.open_for_reading(dir.prefix("missing.txt"), file),
            std::errc::no_such_file_or_directory);
  EXPECT_EQ(file, kNoFile);
}

TEST(Platform, FolderOfAPath) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"jungle.lev", "."},
      {"levels/jungle.lev", "levels"},
      {"a/b/jungle.lev", "a/b"},
#ifdef _WIN32
      {R"(levels\jungle.lev)", "levels"},
      {R"(C:\jungle.lev)", R"(C:\)"},
      {"C:jungle.lev", "C:"},
      {R"(\\server\share\jungle.lev)", R"(\\server\share\)"},
#else
      {"/jungle.lev", "/"}, {R"(levels\jungle.lev)", "."},
#endif
  };
  for (const auto& c : cases) EXPECT_EQ(folder_of(c.path), c.folder) << c.path;
}

TEST(Platform, NewFileReplacesTheTargetAndLeavesNothingElse) {
  const test::TempDir dir;
  dir.write("level.lev", "old level file");
  const std::string target = real.final_path(dir.prefix("level.lev"));
  std::unique_ptr<NewFile> file;
  ASSERT_FALSE(real.create_temporary(target, file));
  ASSERT_FALSE(file->write_at(4, "level", 5));
  ASSERT_FALSE(file->write_at(0, "new ", 4));
  char back[9] = {};
  ASSERT_FALSE(file->read_at(0, back, 9));
  EXPECT_EQ(std::string(back, 9), "new level");
  EXPECT_EQ(file->read_at(5, back, 9), std::errc::io_error);
  EXPECT_EQ(test::read_whole(dir.path() / "level.lev"), "old level file");

  ASSERT_FALSE(file->put_in_place(target, true));
  file.reset();
  EXPECT_EQ(test::read_whole(dir.path() / "level.lev"), "new level");
  EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"level.lev"});
}

TEST(Platform, WithoutReplaceAnExistingNameIsKept) {
  const test::TempDir dir;
  dir.write("jungle.txt", "mine");
  EXPECT_EQ(write_through_temporary(dir.prefix("jungle.txt"), "theirs", false),
            std::errc::file_exists);
  EXPECT_EQ(test::read_whole(dir.path() / "jungle.txt"), "mine");
  EXPECT_FALSE(write_through_temporary(dir.prefix("jungle.tga"), "new", false));
  EXPECT_EQ(test::read_whole(dir.path() / "jungle.tga"), "new");
  EXPECT_EQ(names_in(dir.path()), (std::vector<std::string>{"jungle.tga", "jungle.txt"}));
}

TEST(Platform, ANewFileNotPutInPlaceIsGone) {
  const test::TempDir dir;
  for (const bool written : {true, false}) {
    std::unique_ptr<NewFile> file;
    ASSERT_FALSE(real.create_temporary(dir.prefix("level.lev"), file));
    if (written) {
      ASSERT_FALSE(file->write_at(0, "part", 4));
    }
    file.reset();
    EXPECT_TRUE(names_in(dir.path()).empty()) << written;
  }
}

// Overriding one call of a wrapper changes that call only.
class RefusesRemoval final : public SystemWrapper {
 public:
  using SystemWrapper::SystemWrapper;
  std::error_code remove_file(const std::string&) override {
    return std::make_error_code(std::errc::permission_denied);
  }
};

TEST(SystemWrapper, HandsTheCallsItDoesNotOverrideToItsTarget) {
  const test::TempDir dir;
  dir.write("level.lev", "level");
  RefusesRemoval system(real);
  EXPECT_EQ(system.remove_file(dir.prefix("level.lev")), std::errc::permission_denied);
  FileStatus status;
  ASSERT_FALSE(system.file_status(dir.prefix("level.lev"), status));
  EXPECT_EQ(status.size, 5u);
  EXPECT_TRUE(system.name_exists(dir.prefix("level.lev")));
  std::vector<FolderEntry> entries;
  ASSERT_FALSE(system.folder_entries(utf8_path(dir.path()), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "level.lev");

  FileHandle file = kNoFile;
  ASSERT_FALSE(system.open_for_reading(dir.prefix("level.lev"), file));
  char bytes[5] = {};
  EXPECT_FALSE(read_exactly(system, file, 0, bytes, 5));
  EXPECT_EQ(std::string(bytes, 5), "level");
  EXPECT_EQ(read_exactly(system, file, 1, bytes, 5), std::errc::io_error);
  system.close_file(file);

  std::unique_ptr<NewFile> made;
  ASSERT_FALSE(system.create_temporary(system.final_path(dir.prefix("level.lev")), made));
  ASSERT_FALSE(made->write_at(0, "new", 3));
  ASSERT_FALSE(made->put_in_place(dir.prefix("level.lev"), true));
  EXPECT_EQ(test::read_whole(dir.path() / "level.lev"), "new");
}

TEST(Platform, ALevelInANonLatinFolderRoundTrips) {
  const test::TempDir dir;
  const std::u8string folder_name = u8"Уровни 関卡 ÆØÅ";
  const fs::path folder = dir.path() / folder_name;
  fs::create_directory(folder);
  const std::string target = utf8_path(folder / u8"джунгли.lev");
  ASSERT_FALSE(write_through_temporary(real.final_path(target), "level bytes", true));
  EXPECT_EQ(test::read_whole(folder / u8"джунгли.lev"), "level bytes");
  EXPECT_EQ(folder_of(target), utf8_path(folder));
  FileStatus status, final_status;
  ASSERT_FALSE(real.file_status(target, status));
  EXPECT_EQ(status.kind, FileKind::kRegular);
  EXPECT_EQ(status.size, 11u);
  const std::string final = real.final_path(target);
  EXPECT_NE(final.find(utf8(folder_name)), std::string::npos) << final;
  ASSERT_FALSE(real.file_status(final, final_status));
  EXPECT_EQ(final_status.identity, status.identity);
}

TEST(Platform, ASymbolicLinkIsFollowedToItsFile) {
  const test::TempDir dir;
  dir.write("real.lev", "level");
  std::error_code error;
  fs::create_symlink(dir.path() / "real.lev", dir.path() / "link.lev", error);
  if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
  const std::string followed = real.final_path(dir.prefix("link.lev"));
  EXPECT_TRUE(followed.ends_with("real.lev")) << followed;
  ASSERT_FALSE(write_through_temporary(followed, "new level", true));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.lev"));
  EXPECT_EQ(test::read_whole(dir.path() / "real.lev"), "new level");
}

TEST(Platform, WildcardsInTheLastNameAreExpandedWhereTheShellDoesNot) {
  const test::TempDir dir;
  for (const char* name : {"b.txt", "a.txt", "c.tga", "a.txt2"}) dir.write(name, "");
  const std::string pattern = dir.prefix("*.txt");
#ifdef _WIN32
  const std::vector<std::string> expected = {dir.prefix("a.txt"), dir.prefix("b.txt")};
  EXPECT_EQ(expand_wildcards(dir.prefix("?.tga")), std::vector<std::string>{dir.prefix("c.tga")});
#else
  const std::vector<std::string> expected = {pattern};
#endif
  EXPECT_EQ(expand_wildcards(pattern), expected);
  EXPECT_EQ(expand_wildcards(dir.prefix("*.jpg")), std::vector<std::string>{dir.prefix("*.jpg")});
  EXPECT_EQ(expand_wildcards(dir.prefix("a.txt")), std::vector<std::string>{dir.prefix("a.txt")});
}

#ifdef _WIN32

TEST(PlatformOnWindows, DeviceNamesAreDevicesWithAnyExtensionCaseOrTrailingBlanks) {
  const test::TempDir dir;
  for (const std::string name : {"NUL", "nul.lev", "con.txt", "Aux.tga", "PRN", "COM1 ", "com9.jpg",
                                 "LPT9", "lpt1.lev  ", "COM1 .lev"}) {
    for (const std::string& path : {name, dir.prefix(name)}) {
      FileStatus status;
      EXPECT_FALSE(real.file_status(path, status)) << path;
      EXPECT_EQ(status.kind, FileKind::kDevice) << path;
      FileHandle file = kNoFile;
      EXPECT_EQ(real.open_for_reading(path, file), not_a_regular_file()) << path;
      EXPECT_EQ(real.final_path(path), path);
    }
  }
  FileStatus status;
  ASSERT_FALSE(real.file_status(dir.prefix("console.txt"), status));
  EXPECT_EQ(status.kind, FileKind::kMissing);
}

TEST(PlatformOnWindows, AReadOnlyTargetIsNotReplaced) {
  const test::TempDir dir;
  dir.write("level.lev", "kept");
  fs::permissions(dir.path() / "level.lev",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(real.may_write(dir.prefix("level.lev")), std::errc::permission_denied);
  EXPECT_EQ(write_through_temporary(dir.prefix("level.lev"), "new", true),
            std::errc::permission_denied);
  EXPECT_EQ(test::read_whole(dir.path() / "level.lev"), "kept");
  EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"level.lev"});
  fs::permissions(dir.path() / "level.lev", fs::perms::owner_write, fs::perm_options::add);
}

// The run-time library opens files without letting others remove or
// replace them, as other programs (the game, a virus scanner) often do.
TEST(PlatformOnWindows, ATargetHeldOpenIsReplacedOnceReleasedOrNotAtAll) {
  const test::TempDir dir;
  dir.write("level.lev", "old");
  {
    const std::ifstream held(dir.path() / "level.lev");
    EXPECT_TRUE(write_through_temporary(dir.prefix("level.lev"), "new", true));
  }
  EXPECT_EQ(test::read_whole(dir.path() / "level.lev"), "old");
  EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"level.lev"});

  auto held = std::make_unique<std::ifstream>(dir.path() / "level.lev");
  std::thread release([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    held.reset();
  });
  EXPECT_FALSE(write_through_temporary(dir.prefix("level.lev"), "new", true));
  release.join();
  EXPECT_EQ(test::read_whole(dir.path() / "level.lev"), "new");
}

// A kill leaves the hidden temporary file; only Windows can tell one still
// in use by another program, so only there are they removed.
TEST(PlatformOnWindows, StaleTemporariesOfTheTargetAreRemoved) {
  const test::TempDir dir;
  const std::vector<std::string> kept = {".level.lev.tmp", ".other.lev.abcd1234.tmp", "level.lev",
                                         "level.lev.abcd1234.tmp", ".level.lev.abcd123.tmp"};
  for (const std::string& name : kept) dir.write(name, "kept");
  dir.write(".level.lev.k3x9a0zq.tmp", "left by a kill");
  dir.write(".LEVEL.LEV.00000000.tmp", "left by a kill");
  real.remove_stale_temporaries(dir.prefix("level.lev"));
  std::vector<std::string> sorted = kept;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(names_in(dir.path()), sorted);
}

TEST(PlatformOnWindows, ATemporaryInUseIsNotStale) {
  const test::TempDir dir;
  std::unique_ptr<NewFile> file;
  ASSERT_FALSE(real.create_temporary(dir.prefix("level.lev"), file));
  ASSERT_FALSE(file->write_at(0, "level", 5));
  real.remove_stale_temporaries(dir.prefix("level.lev"));
  ASSERT_FALSE(file->put_in_place(dir.prefix("level.lev"), true));
  EXPECT_EQ(test::read_whole(dir.path() / "level.lev"), "level");
}

// The manifest's UTF-8 code page makes the run-time library's narrow file
// calls take UTF-8 paths. (std::filesystem does not: it widens a narrow
// string byte by byte, so paths go to it as u8strings.)
TEST(PlatformOnWindows, NarrowFileCallsTakeUtf8) {
  const std::u8string name = u8"Уровни 関卡 ÆØÅ.txt";
  const test::TempDir dir;
  std::ofstream(utf8_path(dir.path() / name)) << "level";
  EXPECT_EQ(test::read_whole(dir.path() / name), "level");
}

TEST(PlatformOnWindows, SystemErrorsCompareAsTheirStandardConditions) {
  const struct {
    int code;
    std::errc condition;
  } cases[] = {
      {5, std::errc::permission_denied},          // ERROR_ACCESS_DENIED
      {2, std::errc::no_such_file_or_directory},  // ERROR_FILE_NOT_FOUND
      {3, std::errc::no_such_file_or_directory},  // ERROR_PATH_NOT_FOUND
      {80, std::errc::file_exists},               // ERROR_FILE_EXISTS
      {183, std::errc::file_exists},              // ERROR_ALREADY_EXISTS
      {112, std::errc::no_space_on_device},       // ERROR_DISK_FULL
      {39, std::errc::no_space_on_device},        // ERROR_HANDLE_DISK_FULL
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::error_code(c.code, std::system_category()), c.condition) << c.code;
  }
}

#endif

}  // namespace
}  // namespace zur::platform
