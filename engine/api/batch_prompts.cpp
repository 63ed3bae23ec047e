// SPDX-License-Identifier: MIT
// The prompts of a batch that names its levels, and the progress bar
// during the pass over a map.
#include "engine/attrmap/compiler.h"
#include "zur/convert.h"

namespace zur {

void LevelNamingPrompts::start_level(const std::string& level, std::size_t, std::size_t count) {
  line_ = count > 1 ? shown_level(level) + ":\n" : "";
}

void LevelNamingPrompts::show_batch_failure(const std::string& text) {
  shown_.show_message(text, Icon::Error);
}

void LevelNamingPrompts::show_message(const std::string& text, Icon icon) {
  shown_.show_message(icon == Icon::Error ? line_ + text : text, icon);
}

void LevelNamingPrompts::show_failure(const std::string& text, Icon icon,
                                      std::span<const Error> reasons) {
  shown_.show_failure(icon == Icon::Error ? line_ + text : text, icon, reasons);
}

bool LevelNamingPrompts::ask_yes_no(const std::string& text, Icon icon, Question question) {
  return shown_.ask_yes_no(line_ + text, icon, question);
}

void LevelNamingPrompts::set_progress(int position) {
  shown_.set_progress(position);
}

void LevelNamingPrompts::keep_alive(double rows_done) {
  shown_.keep_alive(rows_done);
}

int progress_during_pass(double rows_done) {
  return progress::during_pass(rows_done);
}

// As the path library would join them: the level's folder loses the
// separators after its last name, and a separator is put between folder and
// name unless the folder ends in one or is a bare drive ("C:").

}  // namespace zur
