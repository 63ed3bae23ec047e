// SPDX-License-Identifier: MIT
#include "engine/conversion/warnings.h"

namespace zur {

void WarningList::append(std::string_view text) {
  if (texts_.size() == kCapacity) return;
  texts_.emplace_back(text.substr(0, kMaxLength));
}

}  // namespace zur
