// SPDX-License-Identifier: MIT
#include "engine/base/error.h"

namespace zur {

std::string Error::text() const {
  std::string text = action.empty() ? path : action + " " + path;
  if (offset) text += " at byte " + std::to_string(*offset);
  if (!reason.empty()) text += text.empty() ? reason : ": " + reason;
  return text;
}

Error system_error(std::string action, std::string path, std::error_code code) {
  return {std::move(action), std::move(path), code.message(), std::nullopt, code};
}

}  // namespace zur
