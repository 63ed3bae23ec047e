// SPDX-License-Identifier: MIT
// std::filesystem paths from and to the UTF-8 strings the programs hold
// paths in. A path made from a narrow string takes it in the system's narrow
// encoding, which MinGW's run-time library makes Latin-1 on Windows whatever
// the code page: every path for std::filesystem goes through here.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zur {

inline std::filesystem::path path_of(std::string_view utf8) {
  return std::u8string(utf8.begin(), utf8.end());
}

inline std::string utf8_of(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return {utf8.begin(), utf8.end()};
}

}  // namespace zur
