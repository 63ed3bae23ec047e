// zur_make_level FOLDER NAME SIZE: writes the sources of a level with a
// SIZE x SIZE attribute map into FOLDER, for the tests that drive the real
// window. Below the sky, short runs of land and water make the conversion
// take a noticeable while; the level needs no pictures (GGLEVEL yes).
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "tests/support/level_sources.h"

int main(int argc, char** argv) {
  const int size = argc == 4 ? std::atoi(argv[3]) : 0;
  if (size <= 0) {
    std::cerr << "usage: zur_make_level FOLDER NAME SIZE\n";
    return 2;
  }
  const std::filesystem::path prefix = std::filesystem::path(argv[1]) / argv[2];
  constexpr zur::test::Colour kLand{0, 152, 0}, kWater{0, 0, 200};
  zur::test::TgaBuilder map(size, size);
  for (int y = size / 4; y < size; ++y) {
    for (int x = 0; x < size; ++x) map.set(x, y, (x / 3 + y) % 2 == 0 ? kLand : kWater);
  }
  map.save(prefix.string() + ".tga");
  std::ofstream(prefix.string() + ".txt") << zur::test::complete_config({{"GGLEVEL", "yes"}});
  return 0;
}
