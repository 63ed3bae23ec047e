// SPDX-License-Identifier: MIT
#include "engine/conversion/settings.h"

#include <cstring>

#include "engine/base/byte_order.h"

namespace zur {
namespace {

void put_text(std::uint8_t* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  at[text.size()] = 0;
}

}  // namespace

void LevelSettings::reset_to_defaults() {
  bytes_.fill(0);
  put_text(at(field::kMaker), "Anonymous");
  put_text(at(field::kGgTheme), "*");
  bytes_[field::kCivil] = 10;
  bytes_[field::kBomb] = 10;
  bytes_[field::kWaterColour] = 80;
  bytes_[field::kWaterColour + 1] = 90;
  bytes_[field::kWaterColour + 2] = 170;
  bytes_[field::kGravity] = 100;
  bytes_[field::kResistance] = 100;
  bytes_[field::kCollDamage] = 100;
  bytes_[field::kBouncing] = 100;
  bytes_[field::kGgShape] = 1;
  bytes_[field::kRepair] = 10;
  bytes_[field::kStuffD] = 10;
  bytes_[field::kSignD] = 10;
  put_le32(at(field::kRandomSeed), 12345);
}

}  // namespace zur
