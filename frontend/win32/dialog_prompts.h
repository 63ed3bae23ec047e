// SPDX-License-Identifier: MIT
// The user prompts of the converter dialog: modal message boxes owned by the
// dialog, and the dialog's progress bar. Lives for one Convert command; the
// dialog must outlive it.
#pragma once

#include "engine/level/shared/prompts.h"

class CConverterDlg;

class DialogPrompts : public zur::UserPrompts {
 public:
  explicit DialogPrompts(CConverterDlg& owner) : owner_(owner) {}

  void show_message(const std::string& text, zur::Icon icon) override;
  // Every question is put to the user; the question's kind does not matter.
  bool ask_yes_no(const std::string& text, zur::Icon icon, zur::Question question) override;
  void set_progress(int position) override;
  void keep_alive(double rows_done) override;

 private:
  CConverterDlg& owner_;
};
