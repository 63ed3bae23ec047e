// SPDX-License-Identifier: MIT
// Writes one of the conversion benchmark's levels into a folder, for the
// browser benchmark (bench/web_bench.sh): make_web_bench_level KIND SIZE
// FOLDER, KIND terrain (long runs) or noise (a run per pixel), makes
// FOLDER/KIND.TXT and FOLDER/KIND.TGA.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_levels.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string kind = argv[1];
  if (kind != "terrain" && kind != "noise") return 2;
  const std::string& prefix = zur::bench::level_prefix(
      kind == "terrain" ? zur::bench::MapKind::kTerrain : zur::bench::MapKind::kNoise,
      std::atoi(argv[2]));
  const std::filesystem::path folder = argv[3];
  std::filesystem::create_directories(folder);
  for (const char* suffix : {".TXT", ".TGA"}) {
    std::filesystem::copy_file(prefix + suffix, folder / (kind + suffix),
                               std::filesystem::copy_options::overwrite_existing);
  }
  return 0;
}
