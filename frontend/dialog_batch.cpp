// SPDX-License-Identifier: MIT
#include "frontend/dialog_batch.h"

#include <string>
#include <vector>

#include "engine/level/batch.h"
#include "engine/level/level_prefix.h"

namespace zur::dialog {
namespace {

// An empty item is named by its quotes, so that the name is never blank.
std::string level_name(const std::string& item) {
  return item.empty() ? "\"\"" : item;
}

// Puts the line naming the level before each question and error message.
class LevelNamingPrompts : public UserPrompts {
 public:
  explicit LevelNamingPrompts(UserPrompts& shown) : shown_(shown) {}

  void name_level(const std::string& item) { line_ = level_name(item) + ":\n"; }

  void show_message(const std::string& text, Icon icon) override {
    shown_.show_message(icon == Icon::Error ? line_ + text : text, icon);
  }
  bool ask_yes_no(const std::string& text, Icon icon, Question question) override {
    return shown_.ask_yes_no(line_ + text, icon, question);
  }
  void set_progress(int position) override { shown_.set_progress(position); }
  void keep_alive(double rows_done) override { shown_.keep_alive(rows_done); }

 private:
  UserPrompts& shown_;
  std::string line_;
};

// "N of M levels failed: A, B", as zurconv's last line.
std::string failure_summary(const std::vector<std::string>& failed, std::size_t count) {
  std::string text =
      std::to_string(failed.size()) + " of " + std::to_string(count) + " levels failed: ";
  for (std::size_t i = 0; i < failed.size(); ++i) {
    text += (i == 0 ? "" : ", ") + level_name(failed[i]);
  }
  return text;
}

}  // namespace

void convert_field_text(std::string_view text, UserPrompts& prompts) {
  const std::vector<std::string> items = split_batch(text);
  if (items.size() == 1) {
    Converter(prompts).run_job(prefix_from_argument(items.front()));
    return;
  }
  LevelNamingPrompts named(prompts);
  Converter converter(named);
  std::vector<std::string> failed;
  for (const std::string& item : items) {
    named.name_level(item);
    if (converter.run_job(prefix_from_argument(item)) != ConversionResult::kSuccess) {
      failed.push_back(item);
    }
  }
  if (!failed.empty()) prompts.show_message(failure_summary(failed, items.size()), Icon::Error);
}

}  // namespace zur::dialog
