// SPDX-License-Identifier: MIT
#include "bench/bench_levels.h"

#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <numbers>
#include <stdexcept>
#include <utility>
#include <vector>

#include "engine/attrmap/attribute_map.h"
#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "engine/base/byte_order.h"

namespace zur::bench {
namespace {

namespace fs = std::filesystem;

// Attribute codes the terrain is painted with.
enum Code : std::uint8_t {
  kAir = 0,
  kGrass = 1,
  kRock = 2,
  kBedrock = 3,  // indestructible wall
  kRepair = 4,
  kExplosive = 5,
  kOre = 8,
  kSoil = 9,
  kShallowWater = 11,
};
constexpr int kMarkers = 300;
constexpr int kCaves = 60;
constexpr int kRepairPads = 8;

const std::string kConfig =
    "Benchmark level: no level picture, no parallax.\n"
    "/MAKER\nbench\n/EMAIL\nbench@example.org\n/PARA\nno\n/CIVIL\n10\n/BOMB\n10\n/"
    "WATERC\n80,90,170\n"
    "/DISABLERUN\nno\n/GRAVITY\n1000\n/RESISTANCE\n1000\n/COLLDAMAGE\n1000\n/BOUNCING\n1000\n"
    "/AMBIENT\n0\n/PARALLAXAT\n0\n/GGLEVEL\nyes\n/GGTHEME\n*\n/GGSHAPE\nyes\n/REPAIR\n10\n"
    "/STUFFD\n10\n/SIGND\n10\n/RANDOMSEED\n12345\n";

// A small deterministic generator, so that every run benchmarks the same maps.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed | 1) {}
  std::uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::int32_t below(std::int32_t bound) { return static_cast<std::int32_t>(next() % bound); }

 private:
  std::uint32_t state_;
};

void put_colour(std::uint8_t* pixel, Rgb colour) {
  pixel[0] = colour.blue;
  pixel[1] = colour.green;
  pixel[2] = colour.red;
}

void put_code(std::uint8_t* pixel, std::uint8_t code) {
  put_colour(pixel, kPalette[code].colour);
}

// Paints row y (0 at the top) of the level into `row`, width × 3 bytes.
using RowPainter = std::function<void(std::int32_t y, std::uint8_t* row)>;

// Rows are painted in the order the file stores them.
void write_tga(const fs::path& path, std::int32_t size, bool top_down, const RowPainter& paint) {
  std::uint8_t header[tga::kHeaderSize] = {};
  header[tga::kImageTypeAt] = tga::kUncompressedTrueColour;
  put_le16(header + tga::kWidthAt, static_cast<std::uint16_t>(size));
  put_le16(header + tga::kHeightAt, static_cast<std::uint16_t>(size));
  header[tga::kBitsPerPixelAt] = tga::kBitsPerPixel;
  header[tga::kDescriptorAt] = top_down ? tga::kDescriptorTopDown : tga::kDescriptorBottomUp;
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(header), sizeof header);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(size) * kBytesPerPixel);
  for (std::int32_t i = 0; i < size; ++i) {
    paint(top_down ? i : size - 1 - i, row.data());
    file.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(row.size()));
  }
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

struct Ellipse {
  std::int32_t cx, cy, rx, ry;
  std::uint8_t code;

  // The columns [first, last] the ellipse covers in row y; empty when first > last.
  std::pair<std::int32_t, std::int32_t> span(std::int32_t y) const {
    const double dy = static_cast<double>(y - cy) / ry;
    if (dy * dy >= 1) return {1, 0};
    const auto half = static_cast<std::int32_t>(rx * std::sqrt(1 - dy * dy));
    return {cx - half, cx + half};
  }
};

struct Marker {
  std::int32_t x, y;
  Rgb colour;
};

// Rolling hills over lakes; soil, rock and ore veins underground, with caves
// and a few explosive pockets; bedrock at the bottom; repair pads and objects
// standing on the surface. Bottom row stored first, as painting programs do.
class Terrain {
 public:
  explicit Terrain(std::int32_t size) : size_(size), surface_(size) {
    const double h = size;
    for (std::int32_t x = 0; x < size; ++x) {
      const double t = 2 * std::numbers::pi * x / size;
      surface_[x] = static_cast<std::int32_t>(h * 0.40 + h * 0.10 * std::sin(3 * t + 0.7) +
                                              h * 0.04 * std::sin(11 * t + 1.9) +
                                              h * 0.01 * std::sin(47 * t));
    }
    Random random(2024);
    for (int i = 0; i < kCaves; ++i) {
      const std::int32_t cx = random.below(size);
      const std::int32_t cy = surface_[cx] + size / 16 + random.below(size / 2);
      const bool explosive = i % 10 == 0;
      const std::int32_t rx = (explosive ? size / 200 : size / 40) + random.below(size / 40);
      caves_.push_back({cx, cy, rx, rx / 3 + 1, explosive ? kExplosive : kAir});
    }
    for (int i = 0; i < kMarkers; ++i) {
      const std::int32_t x = static_cast<std::int32_t>((i + 0.5) * size / kMarkers);
      const auto r = static_cast<std::uint8_t>(i * 37), g = static_cast<std::uint8_t>(i * 91);
      markers_.push_back({x, surface_[x] - 1, {r, g, kMarkerKinds[i % kMarkerKinds.size()].blue}});
    }
  }

  void paint(std::int32_t y, std::uint8_t* row) const {
    for (std::int32_t x = 0; x < size_; ++x) put_code(row + x * kBytesPerPixel, code(x, y));
    for (const Ellipse& cave : caves_) {
      auto [first, last] = cave.span(y);
      for (std::int32_t x = std::max(first, 0); x <= std::min(last, size_ - 1); ++x) {
        if (y > surface_[x] + size_ / 50 && y < bedrock()) {
          put_code(row + x * kBytesPerPixel, cave.code);
        }
      }
    }
    for (const Marker& marker : markers_) {
      if (marker.y == y) put_colour(row + marker.x * kBytesPerPixel, marker.colour);
    }
  }

 private:
  std::int32_t bedrock() const { return size_ - size_ / 32; }
  std::int32_t lake_level() const { return size_ / 2; }

  std::uint8_t code(std::int32_t x, std::int32_t y) const {
    const std::int32_t depth = y - surface_[x];
    if (y >= bedrock()) return kBedrock;
    if (depth < 0) {
      if (y < lake_level()) return kAir;
      // Deeper water is darker: one water code per band.
      return static_cast<std::uint8_t>(kShallowWater +
                                       std::min(7, (y - lake_level()) * 64 / size_));
    }
    if (depth <= size_ / 400) return on_repair_pad(x) ? kRepair : kGrass;
    if (depth < size_ / 20) return kSoil;
    return (y * 64 / size_) % 7 == 3 ? kOre : kRock;
  }

  bool on_repair_pad(std::int32_t x) const {
    const std::int32_t spacing = size_ / kRepairPads;
    return x % spacing < size_ / 64;
  }

  std::int32_t size_;
  std::vector<std::int32_t> surface_;  // the first land row of each column
  std::vector<Ellipse> caves_;
  std::vector<Marker> markers_;
};

// Legal colours in a scrambled order, each pixel unlike the one before it in
// scan order (row ends included), so that every pixel starts a run.
void write_noise(const fs::path& path, std::int32_t size) {
  Random random(7);
  std::uint32_t code = 0;
  write_tga(path, size, true, [&](std::int32_t, std::uint8_t* row) {
    for (std::int32_t x = 0; x < size; ++x) {
      code = (code + 1 + random.next() % (kAttributeCodes - 1)) % kAttributeCodes;
      put_code(row + x * kBytesPerPixel, static_cast<std::uint8_t>(code));
    }
  });
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "zurbench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string write_level(const fs::path& folder, MapKind kind, std::int32_t size) {
  const std::string name = (kind == MapKind::kTerrain ? "terrain" : "noise") + std::to_string(size);
  const std::string prefix = (folder / name).string();
  std::ofstream(prefix + ".TXT") << kConfig;
  if (kind == MapKind::kTerrain) {
    const Terrain terrain(size);
    write_tga(prefix + ".TGA", size, false,
              [&](std::int32_t y, std::uint8_t* row) { terrain.paint(y, row); });
  } else {
    write_noise(prefix + ".TGA", size);
  }
  return prefix;
}

}  // namespace

const std::string& level_prefix(MapKind kind, std::int32_t size) {
  static const TempFolder folder;
  static std::map<std::pair<MapKind, std::int32_t>, std::string> written;
  auto [at, inserted] = written.try_emplace({kind, size});
  if (inserted) at->second = write_level(folder.path(), kind, size);
  return at->second;
}

}  // namespace zur::bench
