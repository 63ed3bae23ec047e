// SPDX-License-Identifier: MIT
// Helpers that drive the converter dialog in tests: a modal-dialog hook that
// answers every message box and file dialog at once and records what was
// shown, a way to run the dialog modally with a script, and clicks and keys.
#pragma once

#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "frontend/wx/converter_dlg.h"

namespace zur::gui_test {

// The bits of a message box's style that choose its icon.
constexpr long kIconBits = wxICON_MASK | wxICON_NONE;

struct ShownBox {
  std::string text;
  std::string caption;
  long style;
  wxWindow* owner;
  int progress;       // the progress bar's position while the box was up
  std::string field;  // the prefix field's text while the box was up
};

struct ShownPicker {
  std::string wildcard;
  long style;
  wxWindow* owner;
};

// Registered for its lifetime. Message boxes are answered OK, or for yes/no
// from `answers` (no when they run out); file dialogs are cancelled.
class ModalAnswers : public wxModalDialogHook {
 public:
  ModalAnswers() { Register(); }

  std::deque<int> answers;
  std::vector<ShownBox> boxes;
  std::vector<ShownPicker> pickers;
  // Runs while each message box is up, after it has been recorded.
  std::function<void(const ShownBox&)> on_box;

  std::vector<std::string> texts() const;

 protected:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog*) override {}
};

// Shows `dialog` modally, runs `script` inside its event loop and ends the
// dialog afterwards if the script did not. Returns ShowModal's result.
inline constexpr int kEndedByTest = 4242;
int RunModal(CConverterDlg& dialog, const std::function<void()>& script);

// Sends a click of the button `id` as the button itself would.
void Click(wxWindow& dialog, int id);

// Types `text` into the prefix field as the user would replace its text.
void TypeIntoField(wxWindow& dialog, const std::string& text);
std::string FieldText(const wxWindow& dialog);
int ProgressPosition(const wxWindow& dialog);

// The progress bar's pixels as the display shows them now, row by row.
std::vector<unsigned long> ProgressPixelsOnScreen(const wxWindow& dialog);
// The share, 0 to 1, of the bar's pixel columns that differ from `empty`.
double ShareChanged(const std::vector<unsigned long>& pixels,
                    const std::vector<unsigned long>& empty, const wxWindow& dialog);

// Presses a key (with modifiers) through the system's input, with the focus
// in the prefix field, and lets the dialog handle it; returns once `done`
// holds or the key evidently had no effect.
void PressKey(wxWindow& dialog, int key, int modifiers, const std::function<bool()>& done);

}  // namespace zur::gui_test
