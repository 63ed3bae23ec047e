// SPDX-License-Identifier: MIT
#include "frontend/dialog_batch.h"

#include <string>
#include <vector>

namespace zur::dialog {

void convert_field_text(std::string_view text, UserPrompts& prompts) {
  LevelNamingPrompts named(prompts);
  convert_levels(split_batch(text), named);
}

}  // namespace zur::dialog
