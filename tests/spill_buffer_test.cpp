// SPDX-License-Identifier: MIT
#include "engine/attrmap/spill_buffer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/level_bytes.h"
#include "tests/support/level_sources.h"

namespace zur {
namespace {

// Sets TMPDIR for the life of the object.
class TemporaryFolderSetting {
 public:
  explicit TemporaryFolderSetting(const std::string& folder) {
    if (const char* old = std::getenv("TMPDIR")) old_ = old;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TemporaryFolderSetting() {
    if (old_) {
      ::setenv("TMPDIR", old_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }

 private:
  std::optional<std::string> old_;
};

std::vector<std::uint8_t> pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

// Appended in pieces of uneven sizes, from nothing to many times the buffer.
std::vector<std::uint8_t> through_buffer(const test::TempDir& dir,
                                         const std::vector<std::uint8_t>& bytes,
                                         std::size_t capacity, bool& good) {
  SpillBuffer buffer(capacity);
  for (std::size_t at = 0, piece = 1; at < bytes.size(); at += piece, piece = piece % 23 + 1) {
    buffer.append(bytes.data() + at, std::min(piece, bytes.size() - at));
  }
  return test::appended_bytes(dir, [&](LevelFile& out) { good = buffer.copy_to(out); });
}

TEST(SpillBuffer, GivesBackEveryByteInOrderWhereverItSpills) {
  // The default temporary folder, and one on another file system when there is one.
  std::vector<std::string> folders = {std::filesystem::temp_directory_path().string()};
  if (std::filesystem::is_directory("/dev/shm")) folders.push_back("/dev/shm");
  test::TempDir dir;
  for (const std::string& folder : folders) {
    TemporaryFolderSetting setting(folder);
    for (std::size_t size : {0, 1, 16, 17, 1000, 70000}) {
      const std::vector<std::uint8_t> bytes = pattern(size);
      bool good = false;
      EXPECT_EQ(through_buffer(dir, bytes, 16, good), bytes) << folder << ", " << size << " bytes";
      EXPECT_TRUE(good) << folder << ", " << size << " bytes";
    }
  }
}

TEST(SpillBuffer, FailsWhenNoTemporaryFileCanBeMade) {
  test::TempDir dir;
  TemporaryFolderSetting setting((dir.path() / "missing").string());
  bool good = true;
  through_buffer(dir, pattern(100), 16, good);
  EXPECT_FALSE(good);
  bool fits = false;
  EXPECT_EQ(through_buffer(dir, pattern(16), 16, fits), pattern(16));  // never spilled
  EXPECT_TRUE(fits);
}

}  // namespace
}  // namespace zur
