// SPDX-License-Identifier: MIT
// zur_make_level FOLDER NAME SIZE [illegal]: writes the sources of a level
// with a SIZE x SIZE attribute map into FOLDER, for the tests that drive the
// real window and for the screenshot. Below the sky, short runs of land and
// water make the conversion take a noticeable while; with "illegal", the
// last pixel has an illegal colour, so the conversion stops at 70 % to ask
// about it. The level needs no pictures (GGLEVEL yes).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "tests/support/level_sources.h"

int main(int argc, char** argv) {
  const int size = argc >= 4 ? std::atoi(argv[3]) : 0;
  const bool illegal = argc == 5 && std::string(argv[4]) == "illegal";
  if (size <= 0 || argc > 5 || (argc == 5 && !illegal)) {
    std::cerr << "usage: zur_make_level FOLDER NAME SIZE [illegal]\n";
    return 2;
  }
  const std::filesystem::path prefix = std::filesystem::path(argv[1]) / argv[2];
  constexpr zur::test::Colour kLand{0, 152, 0}, kWater{0, 0, 200};
  zur::test::TgaBuilder map(size, size);
  for (int y = size / 4; y < size; ++y) {
    for (int x = 0; x < size; ++x) map.set(x, y, (x / 3 + y) % 2 == 0 ? kLand : kWater);
  }
  if (illegal) map.set(size - 1, size - 1, {1, 2, 3});
  map.save(prefix.string() + ".tga");
  std::ofstream(prefix.string() + ".txt") << zur::test::complete_config({{"GGLEVEL", "yes"}});
  return 0;
}
