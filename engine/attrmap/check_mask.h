// SPDX-License-Identifier: MIT
// The check's mask picture: a PNG of the attribute map's size, top row first,
// in which legal pixels are dimmed to grey, illegal pixels are exactly
// kIllegalMaskColour (no other pixel has that colour) and markers show in one
// colour per kind. Written row by row through libpng.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/attrmap/palette.h"

namespace zur {

inline constexpr Rgb kIllegalMaskColour = {255, 0, 255};

class CheckMask {
 public:
  CheckMask();
  ~CheckMask();
  CheckMask(const CheckMask&) = delete;
  CheckMask& operator=(const CheckMask&) = delete;

  // False when the file cannot be created.
  bool open(const std::string& path, std::int32_t width, std::int32_t height);
  // The next row, top first: width blue, green, red triples of the map.
  void row(const std::uint8_t* pixels);
  // False when any write failed; the file is then removed.
  bool close();

 private:
  struct Png;
  void write_row();

  std::unique_ptr<Png> png_;
  std::string path_;
  std::vector<std::uint8_t> row_;
  std::int32_t width_ = 0;  // of the map
  std::int32_t rows_left_ = 0;
};

}  // namespace zur
