// SPDX-License-Identifier: MIT
#include "tests/gui/dialog_driver.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/gauge.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include "frontend/wx/resource.h"
#include "tests/gui/screen_pixels.h"

namespace zur::gui_test {
namespace {

wxTextCtrl& Field(const wxWindow& dialog) {
  return *static_cast<wxTextCtrl*>(dialog.FindWindow(IDC_PREFIXES));
}

}  // namespace

std::vector<std::string> ModalAnswers::texts() const {
  std::vector<std::string> shown;
  for (const ShownBox& box : boxes) shown.push_back(box.text);
  return shown;
}

int ModalAnswers::Enter(wxDialog* dialog) {
  if (dynamic_cast<CConverterDlg*>(dialog) != nullptr) return wxID_NONE;  // shown for real
  if (auto* box = dynamic_cast<wxMessageDialogBase*>(dialog)) {
    wxWindow* owner = box->GetParent();
    boxes.push_back({box->GetMessage().utf8_string(), box->GetTitle().utf8_string(),
                     box->GetMessageDialogStyle(), owner, owner ? ProgressPosition(*owner) : -1,
                     owner ? FieldText(*owner) : std::string()});
    if (on_box) on_box(boxes.back());
    if ((box->GetMessageDialogStyle() & wxYES_NO) == 0) return wxID_OK;
    if (answers.empty()) return wxID_NO;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  if (auto* picker = dynamic_cast<wxFileDialog*>(dialog)) {
    pickers.push_back(
        {picker->GetWildcard().utf8_string(), picker->GetWindowStyle(), picker->GetParent()});
    return wxID_CANCEL;
  }
  ADD_FAILURE() << "unexpected modal dialog: " << dialog->GetTitle();
  return wxID_CANCEL;
}

int RunModal(CConverterDlg& dialog, const std::function<void()>& script) {
  dialog.CallAfter([&dialog, &script] {
    script();
    if (dialog.IsModal()) dialog.EndModal(kEndedByTest);
  });
  return dialog.ShowModal();
}

void Click(wxWindow& dialog, int id) {
  wxWindow* button = dialog.FindWindow(id);
  wxCommandEvent click(wxEVT_BUTTON, id);
  click.SetEventObject(button);
  button->GetEventHandler()->ProcessEvent(click);
}

void TypeIntoField(wxWindow& dialog, const std::string& text) {
  Field(dialog).ChangeValue(wxString::FromUTF8(text));
}

std::string FieldText(const wxWindow& dialog) {
  return Field(dialog).GetValue().utf8_string();
}

int ProgressPosition(const wxWindow& dialog) {
  return static_cast<wxGauge*>(dialog.FindWindow(IDC_PROGRESS))->GetValue();
}

std::vector<unsigned long> ProgressPixelsOnScreen(const wxWindow& dialog) {
  std::vector<unsigned long> pixels =
      ScreenPixels(dialog.FindWindow(IDC_PROGRESS)->GetScreenRect());
  if (pixels.empty()) ADD_FAILURE() << "cannot read the screen";
  return pixels;
}

double ShareChanged(const std::vector<unsigned long>& pixels,
                    const std::vector<unsigned long>& empty, const wxWindow& dialog) {
  const wxSize bar = dialog.FindWindow(IDC_PROGRESS)->GetSize();
  if (pixels.size() != empty.size() || pixels.size() != static_cast<std::size_t>(bar.x * bar.y)) {
    return -1;
  }
  int changed = 0;
  for (int x = 0; x < bar.x; ++x) {
    for (int y = 0; y < bar.y; ++y) {
      const std::size_t i = static_cast<std::size_t>(y * bar.x + x);
      if (pixels[i] != empty[i]) {
        ++changed;
        break;
      }
    }
  }
  return static_cast<double>(changed) / bar.x;
}

void PressKey(wxWindow& dialog, int key, int modifiers, const std::function<bool()>& done) {
  dialog.Raise();
  Field(dialog).SetFocus();
  for (int i = 0; i < 20; ++i) wxYield();
  wxUIActionSimulator().Char(key, modifiers);
  for (int i = 0; i < 300 && !done(); ++i) {
    wxYield();
    wxMilliSleep(10);
  }
}

}  // namespace zur::gui_test
