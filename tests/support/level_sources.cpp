// SPDX-License-Identifier: MIT
#include "tests/support/level_sources.h"

#include <fstream>
#include <random>
#include <stdexcept>

namespace zur::test {

TgaBuilder::TgaBuilder(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height), fill) {}

TgaBuilder& TgaBuilder::set(int x, int y, Colour colour) {
  pixels_.at(static_cast<std::size_t>(y * width_ + x)) = colour;
  return *this;
}
TgaBuilder& TgaBuilder::image_type(std::uint8_t type) {
  type_ = type;
  return *this;
}
TgaBuilder& TgaBuilder::bits_per_pixel(std::uint8_t bits) {
  bits_ = bits;
  return *this;
}
TgaBuilder& TgaBuilder::descriptor(std::uint8_t descriptor) {
  descriptor_ = descriptor;
  return *this;
}
TgaBuilder& TgaBuilder::id_length(std::uint8_t length) {
  id_length_ = length;
  return *this;
}
TgaBuilder& TgaBuilder::colour_map(std::uint16_t entries, std::uint8_t entry_bits) {
  colour_map_entries_ = entries;
  colour_map_bits_ = entry_bits;
  return *this;
}

std::vector<std::uint8_t> TgaBuilder::bytes() const {
  const bool has_colour_map = colour_map_bits_ != 0;
  std::vector<std::uint8_t> file = {id_length_,
                                    std::uint8_t(has_colour_map ? 1 : 0),
                                    type_,
                                    0,
                                    0,
                                    static_cast<std::uint8_t>(colour_map_entries_),
                                    static_cast<std::uint8_t>(colour_map_entries_ >> 8),
                                    colour_map_bits_,
                                    0,
                                    0,
                                    0,
                                    0,
                                    static_cast<std::uint8_t>(width_),
                                    static_cast<std::uint8_t>(width_ >> 8),
                                    static_cast<std::uint8_t>(height_),
                                    static_cast<std::uint8_t>(height_ >> 8),
                                    bits_,
                                    descriptor_};
  for (int i = 0; i < id_length_; ++i) file.push_back(static_cast<std::uint8_t>('A' + i % 26));
  const int colour_map_bytes = colour_map_entries_ * ((colour_map_bits_ + 7) / 8);
  for (int i = 0; i < colour_map_bytes; ++i) file.push_back(static_cast<std::uint8_t>(0x80 + i));
  const bool bottom_up = (descriptor_ & 32) == 0;
  for (int stored = 0; stored < height_; ++stored) {
    const int y = bottom_up ? height_ - 1 - stored : stored;
    for (int x = 0; x < width_; ++x) {
      const Colour& c = pixels_[static_cast<std::size_t>(y * width_ + x)];
      file.insert(file.end(), {c.blue, c.green, c.red});
    }
  }
  return file;
}

void TgaBuilder::save(const std::filesystem::path& path) const {
  const std::vector<std::uint8_t> file = bytes();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

std::string complete_config(const std::vector<std::pair<std::string, std::string>>& overrides) {
  std::vector<std::pair<std::string, std::string>> settings = {
      {"MAKER", "Tester"},    {"EMAIL", "t@example.org"},
      {"PARA", "no"},         {"CIVIL", "10"},
      {"BOMB", "10"},         {"WATERC", "80,90,170"},
      {"DISABLERUN", "no"},   {"GRAVITY", "1000"},
      {"RESISTANCE", "1000"}, {"COLLDAMAGE", "1000"},
      {"BOUNCING", "1000"},   {"AMBIENT", "0"},
      {"PARALLAXAT", "0"},    {"GGLEVEL", "no"},
      {"GGTHEME", "*"},       {"GGSHAPE", "yes"},
      {"REPAIR", "10"},       {"STUFFD", "10"},
      {"SIGND", "10"},        {"RANDOMSEED", "12345"}};
  for (const auto& [keyword, value] : overrides) {
    for (auto& setting : settings) {
      if (setting.first == keyword) setting.second = value;
    }
  }
  std::string text = "; test level\n";
  for (const auto& [keyword, value] : settings) {
    if (!value.empty()) text += "/" + keyword + "\n" + value + "\n";
  }
  return text;
}

TempDir::TempDir() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = std::filesystem::temp_directory_path() / ("zurtest-" + std::to_string(random()));
    std::error_code error;
    if (std::filesystem::create_directory(path_, error)) return;
  }
  throw std::runtime_error("no fresh folder in " + std::filesystem::temp_directory_path().string());
}

TempDir::~TempDir() {
  namespace fs = std::filesystem;
  std::error_code ignored;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  // Windows removes no read-only file.
  for (fs::recursive_directory_iterator entry(path_, ignored), end; entry != end;
       entry.increment(ignored)) {
    fs::permissions(entry->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
  }
  fs::remove_all(path_, ignored);
}

void TempDir::write(const std::string& name, const std::string& contents) const {
  std::ofstream(path_ / name, std::ios::binary) << contents;
}

void TempDir::write(const std::string& name, const std::vector<std::uint8_t>& contents) const {
  std::ofstream(path_ / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(contents.data()),
             static_cast<std::streamsize>(contents.size()));
}

std::string read_whole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes;
  char block[1 << 16];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    bytes.append(block, static_cast<std::size_t>(in.gcount()));
  }
  return bytes;
}

std::vector<std::uint8_t> TempDir::read(const std::string& name) const {
  const std::string bytes = read_whole(path_ / name);
  return {bytes.begin(), bytes.end()};
}

bool TempDir::exists(const std::string& name) const {
  std::error_code ignored;
  return std::filesystem::exists(path_ / name, ignored);
}

bool TempDir::holds(const std::string& name) const {
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    if (entry.path().filename() == name) return true;
  }
  return false;
}

void write_level(const TempDir& dir, const std::string& name, const TgaBuilder& map,
                 const std::string& config) {
  dir.write(name + ".TXT", config);
  dir.write(name + ".JPG", std::string("\xFF\xD8 level picture \xFF\xD9"));
  map.save(dir.path() / (name + ".TGA"));
}

}  // namespace zur::test
