// SPDX-License-Identifier: MIT
// The user prompts of the converter dialog, whatever toolkit draws it:
// modal message boxes owned by the dialog (prompt_box.h), every question put
// to the user whatever its kind, and the dialog's progress bar. Lives for
// one Convert command; the dialog must outlive it.
#pragma once

#include <string>

#include "prompt_box.h"
#include "zur/convert.h"

namespace zur::dialog {

// What a toolkit's converter dialog does for its prompts.
class PromptWindow {
 public:
  // Shows the box, modal and owned by the dialog, once the input that
  // reached the busy dialog is dropped (a key typed into it would otherwise
  // answer the box); true when it was answered Yes.
  virtual bool ShowBox(const std::string& text, const BoxKind& kind) = 0;
  // Moves the bar, rewrites the field from the text converted and repaints
  // the window at once, since the batch keeps the toolkit from doing so.
  // The dialog takes no input meanwhile.
  virtual void SetProgress(int position) = 0;
  // During the pass over a map, often: moves the bar to `position` and
  // lets the toolkit repaint, dropping input.
  virtual void KeepAlive(int position) = 0;

 protected:
  ~PromptWindow() = default;
};

class DialogPrompts : public UserPrompts {
 public:
  explicit DialogPrompts(PromptWindow& window) : window_(window) {}

  void show_message(const std::string& text, Icon icon) override {
    window_.ShowBox(text, message_box_kind(icon));
  }
  bool ask_yes_no(const std::string& text, Icon icon, Question) override {
    return window_.ShowBox(text, question_box_kind(icon));
  }
  void set_progress(int position) override { window_.SetProgress(position); }
  void keep_alive(double rows_done) override { window_.KeepAlive(progress_during_pass(rows_done)); }

 private:
  PromptWindow& window_;
};

}  // namespace zur::dialog
