// SPDX-License-Identifier: MIT
// Builders for level sources in a temporary folder: attribute maps (24-bit
// TGA), config files and picture stand-ins, so that each test states only
// what matters to it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zur::test {

struct Colour {
  std::uint8_t red, green, blue;
  bool operator==(const Colour&) const = default;
};

// A picture in level coordinates (row 0 at the top), saved as a TGA.
class TgaBuilder {
 public:
  TgaBuilder(int width, int height, Colour fill = {0, 0, 0});

  TgaBuilder& set(int x, int y, Colour colour);
  int width() const { return width_; }
  int height() const { return height_; }
  TgaBuilder& image_type(std::uint8_t type);
  TgaBuilder& bits_per_pixel(std::uint8_t bits);
  TgaBuilder& descriptor(std::uint8_t descriptor);  // 0 bottom-up, 32 top-down
  // An image-ID field of `length` bytes of text, before the pixels.
  TgaBuilder& id_length(std::uint8_t length);
  // A colour map of `entries` entries of `entry_bits` bits (whole bytes each),
  // before the pixels; its bytes are not zero.
  TgaBuilder& colour_map(std::uint16_t entries, std::uint8_t entry_bits);

  // The file's bytes: header, image-ID field, colour map, then rows in the
  // order the descriptor says.
  std::vector<std::uint8_t> bytes() const;
  void save(const std::filesystem::path& path) const;

 private:
  int width_, height_;
  std::vector<Colour> pixels_;
  std::uint8_t type_ = 2, bits_ = 24, descriptor_ = 32, id_length_ = 0;
  std::uint16_t colour_map_entries_ = 0;
  std::uint8_t colour_map_bits_ = 0;
};

// A config file text giving every counted keyword once, with the values a
// test passes in `overrides` ("KEYWORD" -> value line) replacing the plain
// ones; keywords mapped to an empty string are left out.
std::string complete_config(const std::vector<std::pair<std::string, std::string>>& overrides = {});

// The whole file, or what could be read of it, in large blocks: the tests
// read levels of megabytes, unoptimised and under the sanitizers too.
std::string read_whole(const std::filesystem::path& path);

// A fresh, empty folder, removed with its contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string prefix(const std::string& name) const { return (path_ / name).string(); }

  void write(const std::string& name, const std::string& contents) const;
  void write(const std::string& name, const std::vector<std::uint8_t>& contents) const;
  std::vector<std::uint8_t> read(const std::string& name) const;
  bool exists(const std::string& name) const;
  // Whether the folder holds `name` spelled exactly so: where the file
  // system ignores letter case, exists() finds a name in any case.
  bool holds(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// A minimal valid level "name" in `dir`: config (GGLEVEL no, PARA no), a
// level image stand-in and the given attribute map.
void write_level(const TempDir& dir, const std::string& name, const TgaBuilder& map,
                 const std::string& config = complete_config());

}  // namespace zur::test
