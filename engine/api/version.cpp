// SPDX-License-Identifier: MIT
#include "zur/version.h"

#include "zur_version.h"

namespace zur {

std::string_view version() {
  return kVersion;
}

}  // namespace zur
