// SPDX-License-Identifier: MIT
#include "engine/level/source_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/faulty_system.h"
#include "tests/support/level_sources.h"

namespace zur {
namespace {

// Changes the working directory for the lifetime of the object.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::filesystem::path& path)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~WorkingDirectory() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

// Each source as the lookup forms its name, and as a message names it missing.
TEST(SourceTable, EachSourceInTheOneOrder) {
  const struct {
    source::Index index;
    const char* formed;
    const char* named_missing;
    ConversionResult missing;
  } expected[] = {
      {source::kConfig, "lv/Jungle.TXT", "lv/Jungle.txt", ConversionResult::kConfigFileMissing},
      {source::kAttributeMap, "lv/Jungle.TGA", "lv/Jungle.tga",
       ConversionResult::kAttributeMapMissing},
      {source::kLevelImage, "lv/Jungle.JPG", "lv/Jungle.jpg", ConversionResult::kLevelJpegMissing},
      {source::kParallaxImage, "lv/JungleP.JPG", "lv/Junglep.jpg",
       ConversionResult::kParallaxJpegMissing},
  };
  ASSERT_EQ(std::size(expected), kSourceFiles.size());
  const SourcePaths found = find_sources("lv/Jungle");
  for (const auto& e : expected) {
    const SourceFile& file = kSourceFiles[e.index];
    EXPECT_EQ(found[e.index], e.formed);
    EXPECT_EQ(missing_source_name("lv/Jungle", file), e.named_missing);
    EXPECT_EQ(file.missing, e.missing) << e.formed;
    EXPECT_TRUE(result_message(file.missing, "lv/Jungle", {})
                    .text.ends_with(std::string("File missing:\n") + e.named_missing))
        << e.formed;
  }
}

// The lookup where names differing only in letter case are apart (as on
// POSIX), on every system: the stand-in lists the folder.
std::string found_among(const std::vector<std::string>& files, bool ignores_case) {
  test::FaultySystem system;
  system.ignores_case = ignores_case;
  system.listed_files = files;
  return find_source("lv/jungle", suffix::kConfig);
}

TEST(FindSource, NameAsFormedWinsWhenItExists) {
  EXPECT_EQ(found_among({"jungle.txt", "JUNGLE.TXT", "jungle.TXT"}, false), "lv/jungle.TXT");
}

// Whether the name as formed is taken as it stands is the seam's answer on
// letter case, not a guess from the path: where case is ignored the formed
// name would exist whatever the file's own, so the folder's own spelling
// (the first in byte order) is the one found.
TEST(FindSource, SeamSaysWhetherLetterCaseIsIgnored) {
  EXPECT_EQ(found_among({"jungle.TXT", "JUNGLE.TXT"}, false), "lv/jungle.TXT");
  EXPECT_EQ(found_among({"jungle.TXT", "JUNGLE.TXT"}, true), "lv/JUNGLE.TXT");
}

TEST(FindSource, NameDifferingInLetterCaseIsFound) {
  const struct {
    const char* file;
    std::string_view suffix;
  } cases[] = {
      {"jungle.txt", suffix::kConfig},         {"Jungle.Tga", suffix::kAttributeMap},
      {"junglep.jpg", suffix::kParallaxImage}, {"JUNGLEP.JPG", suffix::kParallaxImage},
      {"jungle.jpg", suffix::kLevelImage},     {"jUnGlE.JpG", suffix::kLevelImage},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    dir.write(c.file, std::string("x"));
    EXPECT_EQ(find_source(dir.prefix("jungle"), c.suffix), dir.prefix(c.file)) << c.file;
  }
}

TEST(FindSource, FirstInByteOrderWinsAmongSeveral) {
  EXPECT_EQ(found_among({"jungle.txt", "Jungle.txt", "JUNGLE.tXt", "jungle.Txt"}, false),
            "lv/JUNGLE.tXt");
}

TEST(FindSource, WithoutAMatchTheNameAsFormedIsGiven) {
  test::TempDir dir;
  for (const char* name : {"jungle.txt.bak", "jungle2.txt", "jungl.txt", "ungle.txt"}) {
    dir.write(name, std::string("x"));
  }
  std::filesystem::create_directory(dir.path() / "Jungle.txt");
  EXPECT_EQ(find_source(dir.prefix("jungle"), suffix::kConfig), dir.prefix("jungle.TXT"));
  EXPECT_EQ(find_source(dir.prefix("missing dir/jungle"), suffix::kConfig),
            dir.prefix("missing dir/jungle.TXT"));
}

TEST(FindSource, OnlyAsciiLettersAreFolded) {
  test::TempDir dir;
  dir.write("\xC3\x84.txt", std::string("x"));  // capital A with diaeresis
  EXPECT_EQ(find_source(dir.prefix("\xC3\xA4"), suffix::kConfig), dir.prefix("\xC3\xA4.TXT"));
  dir.write("[x].txt", std::string("x"));
  EXPECT_EQ(find_source(dir.prefix("{x}"), suffix::kConfig), dir.prefix("{x}.TXT"));
}

TEST(FindSource, DirectoryPartOfThePrefixIsKept) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.path() / "Levels" / "sub");
  dir.write("Levels/sub/Jungle.txt", std::string("x"));
  const std::string prefix = (dir.path() / "Levels" / "sub" / "jungle").string();
  EXPECT_EQ(find_source(prefix, suffix::kConfig),
            (dir.path() / "Levels" / "sub" / "Jungle.txt").string());
}

TEST(FindSource, RelativePrefixIsLookedUpInTheWorkingDirectory) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  dir.write("Jungle.txt", std::string("x"));
  dir.write("sub/Cave.txt", std::string("x"));
  WorkingDirectory here(dir.path());
  EXPECT_EQ(find_source("jungle", suffix::kConfig), "Jungle.txt");
  EXPECT_EQ(find_source("sub/cave", suffix::kConfig), "sub/Cave.txt");
  EXPECT_EQ(find_source("none", suffix::kConfig), "none.TXT");
}

}  // namespace
}  // namespace zur
