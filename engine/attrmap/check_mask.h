// SPDX-License-Identifier: MIT
// The check's mask picture: a PNG of the attribute map's size, top row first,
// in which legal pixels are dimmed to grey, illegal pixels are exactly
// kIllegalMaskColour (no other pixel has that colour) and markers show in one
// colour per kind. Encoded row by row by the PNG writer into an output file.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/attrmap/marker_kinds.h"
#include "engine/attrmap/palette.h"
#include "engine/base/error.h"
#include "engine/base/platform.h"

namespace zur {

inline constexpr Rgb kIllegalMaskColour = {255, 0, 255};

// The colour a marker shows in, indexed by the object kind it places; none
// is grey or the illegal colour, so the marks stand out.
inline constexpr std::array<Rgb, kMarkerKinds.size()> kMarkerKindColours = {{
    {255, 0, 0},
    {0, 200, 0},
    {0, 96, 255},
    {255, 160, 0},
    {0, 230, 230},
}};

class CheckMask {
 public:
  // Written through `system`, which must outlive it.
  explicit CheckMask(platform::System& system);
  ~CheckMask();
  CheckMask(const CheckMask&) = delete;
  CheckMask& operator=(const CheckMask&) = delete;

  // Opens the mask as an output file that is none of `others`; why not,
  // when it is refused or cannot be created.
  std::optional<Error> open(const std::string& path, std::span<const std::string> others,
                            std::int32_t width, std::int32_t height);
  // The next row, top first: width blue, green, red triples of the map.
  void row(const std::uint8_t* pixels);
  // Puts the complete mask in place; why not, when any write failed (then
  // nothing is put in place). A mask not closed is discarded.
  std::optional<Error> close();

 private:
  struct Png;
  void write_row();
  Error not_encoded() const;

  platform::System& system_;
  std::unique_ptr<Png> png_;
  std::string path_;
  std::vector<std::uint8_t> row_;
  std::int32_t width_ = 0;  // of the map
  std::int32_t rows_left_ = 0;
  std::uint32_t rows_given_ = 0;  // to row()
};

}  // namespace zur
