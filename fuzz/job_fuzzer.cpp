// SPDX-License-Identifier: MIT
// Fuzzes a whole conversion job. The input holds the level's sources: its
// last byte says which are present (bits 0 to 2: config, level picture,
// parallax picture; bit 3 set leaves out the attribute map), then the config
// text, the level picture and the parallax picture each end at a backslash
// followed by another character (two backslashes stand for one), and the rest
// is the attribute map. They are written into a folder of this process on a
// memory file system (/dev/shm when there is one) and converted as a level;
// the level file is removed before the next input.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/level/batch.h"
#include "fuzz/fuzz_prompts.h"

namespace {

namespace fs = std::filesystem;

// Made once per process, removed when the process ends.
struct LevelFolder {
  LevelFolder() {
    const fs::path base = fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path();
    path = (base / ("zur-fuzz-job-" + std::to_string(::getpid()))).string();
    fs::create_directories(path);
  }
  ~LevelFolder() { fs::remove_all(path); }
  std::string path;
};

const std::string& level_folder() {
  static const LevelFolder folder;
  return folder.path;
}

void write_source(const std::string& name, const std::string& bytes, bool present) {
  const std::string path = level_folder() + "/" + name;
  if (!present) {
    ::unlink(path.c_str());
    return;
  }
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::uint8_t present = input.ConsumeIntegral<std::uint8_t>();
  write_source("lvl.TXT", input.ConsumeRandomLengthString(), present & 1);
  write_source("lvl.JPG", input.ConsumeRandomLengthString(), present & 2);
  write_source("lvlP.JPG", input.ConsumeRandomLengthString(), present & 4);
  write_source("lvl.TGA", input.ConsumeRemainingBytesAsString(), !(present & 8));

  zur::fuzz::AnsweringPrompts prompts;
  zur::Converter converter(prompts, zur::platform::default_system(), [] { return 0u; });
  converter.run_job(level_folder() + "/lvl");
  ::unlink((level_folder() + "/lvl.lev").c_str());
  return 0;
}
