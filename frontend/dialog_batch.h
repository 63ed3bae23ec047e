// SPDX-License-Identifier: MIT
// What the converter dialog's Convert command does with the prefix field's
// text, whatever toolkit draws the dialog. The text is split into items at
// "|", each trimmed of blanks, and each item is converted as zurconv takes
// an argument (a final ".txt" in any letter case is dropped). In a batch of
// more than one level, every question and every error message starts with
// a line naming its level as typed, and a batch in which any level failed
// ends with one error message naming them all. A single level's texts are
// shown exactly as the engine gives them. A failure's system reasons are
// shown under its message, in the same box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "zur/convert.h"

namespace zur::dialog {

// `text` is the field's text in the engine's encoding; `prompts` are the
// dialog's own; `picked` the config files last picked with Open, whose
// levels take their sources in the letter case of the picked name.
void convert_field_text(std::string_view text, UserPrompts& prompts,
                        std::vector<std::string> picked = {});

}  // namespace zur::dialog
