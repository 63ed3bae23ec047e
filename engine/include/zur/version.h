// SPDX-License-Identifier: MIT
// The converter's version, as the project sets it once.
#pragma once

#include <string_view>

namespace zur {

// "1.0.0"
std::string_view version();

}  // namespace zur
