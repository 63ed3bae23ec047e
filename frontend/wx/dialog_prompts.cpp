// SPDX-License-Identifier: MIT
#include "frontend/wx/dialog_prompts.h"

#include "frontend/wx/batch_input.h"
#include "frontend/wx/converter_dlg.h"
#include "frontend/wx/engine_text.h"
#include "frontend/wx/message_box.h"

namespace {

// Keys typed into the busy dialog would otherwise answer the box.
int ShowMessageBox(CConverterDlg& owner, const std::string& text, long style) {
  RepaintDroppingInput(owner);
  return CMessageBox(&owner, FromEngine(text), style).ShowModal();
}

}  // namespace

long MessageIconStyle(zur::Icon icon) {
  switch (icon) {
    case zur::Icon::Error:
      return wxICON_ERROR;
    case zur::Icon::Information:
      return wxICON_INFORMATION;
    case zur::Icon::None:
      break;
  }
  // Without it the toolkit would pick an icon of its own.
  return wxICON_NONE;
}

long BoxStyle(const zur::dialog::BoxKind& kind) {
  return (kind.buttons == zur::dialog::BoxButtons::YesNo ? wxYES_NO : wxOK) |
         MessageIconStyle(kind.icon);
}

void DialogPrompts::show_message(const std::string& text, zur::Icon icon) {
  ShowMessageBox(owner_, text, BoxStyle(zur::dialog::message_box_kind(icon)));
}

bool DialogPrompts::ask_yes_no(const std::string& text, zur::Icon icon, zur::Question) {
  return ShowMessageBox(owner_, text, BoxStyle(zur::dialog::question_box_kind(icon))) == wxID_YES;
}

void DialogPrompts::set_progress(int position) {
  owner_.SetProgress(position);
}

void DialogPrompts::keep_alive(double rows_done) {
  owner_.KeepAlive(rows_done);
}
