// SPDX-License-Identifier: MIT
// Writes the conversion benchmark's terrain level of the size given into a
// folder, for the browser benchmark (bench/web_bench.sh): make_web_bench_level
// SIZE FOLDER makes FOLDER/terrain.TXT and FOLDER/terrain.TGA.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_levels.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string& prefix =
      zur::bench::level_prefix(zur::bench::MapKind::kTerrain, std::atoi(argv[1]));
  const std::filesystem::path folder = argv[2];
  std::filesystem::create_directories(folder);
  for (const char* suffix : {".TXT", ".TGA"}) {
    std::filesystem::copy_file(prefix + suffix, folder / (std::string("terrain") + suffix),
                               std::filesystem::copy_options::overwrite_existing);
  }
  return 0;
}
