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

const SourceFile& kConfigSource = kSourceFiles[source::kConfig];

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
  const FoundSources found = find_sources(NamedLevel("lv/Jungle"), platform::default_system());
  for (const auto& e : expected) {
    const SourceFile& file = kSourceFiles[e.index];
    EXPECT_EQ(found[e.index].path, e.formed);
    EXPECT_EQ(missing_source_name("lv/Jungle", file), e.named_missing);
    EXPECT_EQ(file.missing, e.missing) << e.formed;
    EXPECT_TRUE(result_message(file.missing, "lv/Jungle", {})
                    .text.ends_with(std::string("File missing:\n") + e.named_missing))
        << e.formed;
  }
}

// The lookup among the folder's names, on every system: the stand-in lists
// the folder, where names differing only in letter case are apart.
FoundSource found_among(const std::vector<std::string>& files, bool ignores_case,
                        std::string_view named, source::Index index) {
  test::FaultySystem system;
  system.ignores_case = ignores_case;
  system.listed_files = files;
  return find_source(NamedLevel("lv/jungle", std::string(named)), kSourceFiles[index], system);
}

// Which name is read, or which names make the level ambiguous: the name as
// formed first, then the letter case of the config suffix the user gave,
// then a single name equal ignoring case; never a choice by byte order.
TEST(FindSource, ChoosesByTheRulesOrNotAtAll) {
  using Names = std::vector<std::string>;
  const struct {
    Names files;
    const char* named;  // the config suffix as the user gave it
    source::Index index;
    const char* found;  // the name read, or empty when ambiguous
    Names candidates;
  } cases[] = {
      {{"jungle.txt", "JUNGLE.TXT", "jungle.TXT"}, "", source::kConfig, "jungle.TXT", {}},
      {{"jungle.txt", "JUNGLE.txt"}, "", source::kConfig, "", {"JUNGLE.txt", "jungle.txt"}},
      {{"jungle.txt", "JUNGLE.txt"}, ".txt", source::kConfig, "jungle.txt", {}},
      {{"jungle.txt", "JUNGLE.txt"}, ".TXT", source::kConfig, "", {"JUNGLE.txt", "jungle.txt"}},
      {{"jungle.Txt", "jungle.txt"}, ".Txt", source::kConfig, "jungle.Txt", {}},
      {{"Jungle.txt"}, "", source::kConfig, "Jungle.txt", {}},
      {{"Jungle.txt"}, ".TXT", source::kConfig, "Jungle.txt", {}},
      {{"jungle.tga", "JUNGLE.tga"}, ".txt", source::kAttributeMap, "jungle.tga", {}},
      {{"jungle.tga", "JUNGLE.tga"}, "", source::kAttributeMap, "", {"JUNGLE.tga", "jungle.tga"}},
      {{"jungle.tga", "JUNGLE.tga"},
       ".Txt",
       source::kAttributeMap,
       "",
       {"JUNGLE.tga", "jungle.tga"}},
      {{"jungle.tga", "jungle.TGA"}, ".txt", source::kAttributeMap, "jungle.TGA", {}},
      {{"jungle.jpg", "Jungle.JPG", "JUNGLE.jpg"},
       "",
       source::kLevelImage,
       "",
       {"JUNGLE.jpg", "Jungle.JPG", "jungle.jpg"}},
      {{"jungle.jpg", "Jungle.JPG", "JUNGLE.jpg"}, ".txt", source::kLevelImage, "jungle.jpg", {}},
      {{"junglep.jpg", "JungleP.jpg"}, ".txt", source::kParallaxImage, "junglep.jpg", {}},
      {{"JUNGLEP.JPG", "junglep.jpg"},
       ".TXT",
       source::kParallaxImage,
       "",
       {"JUNGLEP.JPG", "junglep.jpg"}},
      {{"jungle.txt.bak", "jungle2.txt"}, ".txt", source::kConfig, "jungle.TXT", {}},
  };
  for (const auto& c : cases) {
    for (const bool ignores_case : {false, true}) {
      const FoundSource found = found_among(c.files, ignores_case, c.named, c.index);
      std::string row = c.files.front() + " named \"" + c.named + "\"";
      if (ignores_case) row += ", letter case ignored";
      if (*c.found != '\0') {
        EXPECT_EQ(found.path, std::string("lv/") + c.found) << row;
        EXPECT_FALSE(found.ambiguous()) << row;
        continue;
      }
      Names expected;
      for (const std::string& name : c.candidates) expected.push_back("lv/" + name);
      EXPECT_EQ(found.candidates, expected) << row;
      EXPECT_EQ(found.path, "lv/jungle" + std::string(kSourceFiles[c.index].suffix)) << row;
    }
  }
}

TEST(FindSource, AmbiguityNamesEveryCandidate) {
  const auto reason = [](std::vector<std::string> names) {
    return FoundSource{"x", std::move(names)}.ambiguity().text();
  };
  EXPECT_EQ(reason({"jungle.txt", "JUNGLE.txt"}),
            "jungle.txt and JUNGLE.txt both match: rename one");
  EXPECT_EQ(reason({"a.txt", "A.txt", "A.TXT"}), "a.txt, A.txt and A.TXT all match: rename one");
}

TEST(FindSource, NameDifferingInLetterCaseIsFound) {
  const struct {
    const char* file;
    source::Index index;
  } cases[] = {
      {"jungle.txt", source::kConfig},         {"Jungle.Tga", source::kAttributeMap},
      {"junglep.jpg", source::kParallaxImage}, {"JUNGLEP.JPG", source::kParallaxImage},
      {"jungle.jpg", source::kLevelImage},     {"jUnGlE.JpG", source::kLevelImage},
  };
  for (const auto& c : cases) {
    test::TempDir dir;
    dir.write(c.file, std::string("x"));
    EXPECT_EQ(
        find_source(dir.prefix("jungle"), kSourceFiles[c.index], platform::default_system()).path,
        dir.prefix(c.file))
        << c.file;
  }
}

TEST(FindSource, WithoutAMatchTheNameAsFormedIsGiven) {
  test::TempDir dir;
  for (const char* name : {"jungle.txt.bak", "jungle2.txt", "jungl.txt", "ungle.txt"}) {
    dir.write(name, std::string("x"));
  }
  std::filesystem::create_directory(dir.path() / "Jungle.txt");
  EXPECT_EQ(find_source(dir.prefix("jungle"), kConfigSource, platform::default_system()).path,
            dir.prefix("jungle.TXT"));
  EXPECT_EQ(
      find_source(dir.prefix("missing dir/jungle"), kConfigSource, platform::default_system()).path,
      dir.prefix("missing dir/jungle.TXT"));
}

TEST(FindSource, OnlyAsciiLettersAreFolded) {
  test::TempDir dir;
  dir.write("\xC3\x84.txt", std::string("x"));  // capital A with diaeresis
  EXPECT_EQ(find_source(dir.prefix("\xC3\xA4"), kConfigSource, platform::default_system()).path,
            dir.prefix("\xC3\xA4.TXT"));
  dir.write("[x].txt", std::string("x"));
  EXPECT_EQ(find_source(dir.prefix("{x}"), kConfigSource, platform::default_system()).path,
            dir.prefix("{x}.TXT"));
}

TEST(FindSource, DirectoryPartOfThePrefixIsKept) {
  test::TempDir dir;
  std::filesystem::create_directories(dir.path() / "Levels" / "sub");
  dir.write("Levels/sub/Jungle.txt", std::string("x"));
  const std::string prefix = (dir.path() / "Levels" / "sub" / "jungle").string();
  EXPECT_EQ(find_source(prefix, kConfigSource, platform::default_system()).path,
            (dir.path() / "Levels" / "sub" / "Jungle.txt").string());
}

TEST(FindSource, RelativePrefixIsLookedUpInTheWorkingDirectory) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  dir.write("Jungle.txt", std::string("x"));
  dir.write("sub/Cave.txt", std::string("x"));
  WorkingDirectory here(dir.path());
  EXPECT_EQ(find_source(NamedLevel("jungle"), kConfigSource, platform::default_system()).path,
            "Jungle.txt");
  EXPECT_EQ(find_source(NamedLevel("sub/cave"), kConfigSource, platform::default_system()).path,
            "sub/Cave.txt");
  EXPECT_EQ(find_source(NamedLevel("none"), kConfigSource, platform::default_system()).path,
            "none.TXT");
}

}  // namespace
}  // namespace zur
