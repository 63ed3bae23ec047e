// SPDX-License-Identifier: MIT
#include "frontend/win32/config_file_picker.h"

#include <gtest/gtest.h>

namespace {

TEST(PickedPaths, ReadsOnePathOrAFolderWithItsNames) {
  const struct {
    std::wstring buffer;  // as the file dialog fills it, the final zero included
    std::vector<std::wstring> paths;
  } cases[] = {
      {std::wstring(L"C:\\levels\\jungle.txt\0", 21), {L"C:\\levels\\jungle.txt"}},
      {std::wstring(L"C:\\levels\0jungle.txt\0cave.txt\0", 30),
       {L"C:\\levels\\jungle.txt", L"C:\\levels\\cave.txt"}},
      {std::wstring(L"C:\\\0jungle.txt\0cave.txt\0", 24), {L"C:\\jungle.txt", L"C:\\cave.txt"}},
      {std::wstring(L"\\\\server\\share\\l\0a b.txt\0c.d.txt\0", 33),
       {L"\\\\server\\share\\l\\a b.txt", L"\\\\server\\share\\l\\c.d.txt"}},
  };
  for (const auto& c : cases) {
    std::wstring buffer = c.buffer;
    buffer.push_back(L'\0');  // the list's end
    EXPECT_EQ(PickedPaths(buffer.c_str()), c.paths) << c.paths.front().size();
  }
}

}  // namespace
