// SPDX-License-Identifier: MIT
#include "zur/prompts.h"

namespace zur {

void UserPrompts::show_failure(const std::string& text, Icon icon, std::span<const Error> reasons) {
  std::string shown = text;
  shown += '\n';
  for (const Error& reason : reasons) {
    shown += '\n';
    shown += reason.text();
  }
  show_message(shown, icon);
}

}  // namespace zur
