// SPDX-License-Identifier: MIT
// The program's message box (frontend/prompt_box.h) in wxWidgets: its text
// beside the icon of its kind (error, information or none), the program's
// caption, and OK, or No and Yes in the platform's order with Yes the
// default. A question is answered only by Yes or No: Escape does nothing,
// the window has no close box, and a key pressed in its first 300 ms on the
// screen is dropped. The box is never taller or wider than the screen; a
// longer text scrolls. Built from the toolkit's generic controls, as the
// native message box of some desktops shows no icon.
#pragma once

#include <wx/msgdlg.h>

#include "../prompt_box.h"

class CMessageBox : public wxMessageDialogBase {
 public:
  // `style`: wxOK or wxYES_NO, and wxICON_ERROR, wxICON_INFORMATION or
  // wxICON_NONE. The window is built at once; ShowModal returns wxID_OK,
  // wxID_YES or wxID_NO.
  CMessageBox(wxWindow* owner, const wxString& text, long style);

 private:
  bool IsQuestion() const { return (GetMessageDialogStyle() & wxYES_NO) != 0; }
  wxWindow* CreateText();
  // The room on the screen the box shows on.
  wxRect ScreenArea();
  void FitIntoScreen(wxWindow& text);
  void WidenForCaption();
  void OnShow(wxShowEvent& event);
  void OnKey(wxKeyEvent& event);
  void OnAnswer(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);

  zur::dialog::QuestionKeys m_keys;
};

// The message box style bits of an icon kind, and of a box kind.
long MessageIconStyle(zur::Icon icon);
long BoxStyle(const zur::dialog::BoxKind& kind);
