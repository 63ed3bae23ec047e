// SPDX-License-Identifier: MIT
#include "dialog_batch.h"

#include <string>
#include <vector>

namespace zur::dialog {

void convert_field_text(std::string_view text, UserPrompts& prompts,
                        std::vector<std::string> picked) {
  LevelNamingPrompts named(prompts);
  BatchOptions options;
  options.picked_configs = std::move(picked);
  convert_levels(split_batch(text), named, options);
}

}  // namespace zur::dialog
