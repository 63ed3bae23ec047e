// SPDX-License-Identifier: MIT
#include "frontend/win32/dialog_prompts.h"

#include "frontend/prompt_box.h"
#include "frontend/win32/batch_input.h"
#include "frontend/win32/converter_dlg.h"
#include "frontend/win32/message_box.h"

namespace {

// Keys typed into the busy dialog would otherwise reach the box.
int Show(CConverterDlg& owner, const std::string& text, const zur::dialog::BoxKind& kind) {
  RepaintDroppingInput(owner.GetSafeHwnd());
  return ShowMessageBox(owner.GetSafeHwnd(), text, kind);
}

}  // namespace

void DialogPrompts::show_message(const std::string& text, zur::Icon icon) {
  Show(owner_, text, zur::dialog::message_box_kind(icon));
}

bool DialogPrompts::ask_yes_no(const std::string& text, zur::Icon icon, zur::Question) {
  return Show(owner_, text, zur::dialog::question_box_kind(icon)) == IDYES;
}

void DialogPrompts::set_progress(int position) {
  owner_.SetProgress(position);
}

void DialogPrompts::keep_alive(double rows_done) {
  owner_.KeepAlive(rows_done);
}
