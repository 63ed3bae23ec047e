// SPDX-License-Identifier: MIT
// The program's message box: its text beside the icon of its kind (error,
// information or none), the program's caption, and OK, or No and Yes in the
// platform's order with Yes the default. A question is answered only by Yes
// or No: Escape does nothing and the window has no close box. The box is
// never taller than the screen; a longer text scrolls. Built from the
// toolkit's generic controls, as the native message box of some desktops
// shows no icon.
#pragma once

#include <wx/msgdlg.h>

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
  void OnAnswer(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
};
