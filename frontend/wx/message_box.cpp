// SPDX-License-Identifier: MIT
#include "frontend/wx/message_box.h"

#include <wx/artprov.h>
#include <wx/display.h>
#include <wx/scrolwin.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <algorithm>

#include "engine/level/shared/prompts.h"

namespace {

constexpr int kBorder = 10;     // pixels around the contents
constexpr int kLineChars = 70;  // the longest line before the text wraps

}  // namespace

CMessageBox::CMessageBox(wxWindow* owner, const wxString& text, long style)
    : wxMessageDialogBase(owner, text, zur::kProgramTitle, style) {
  Create(m_parent, wxID_ANY, GetCaption(), wxDefaultPosition, wxDefaultSize,
         wxDEFAULT_DIALOG_STYLE);
  if (IsQuestion()) EnableCloseButton(false);

  auto* iconAndText = new wxBoxSizer(wxHORIZONTAL);
  const long icon = GetEffectiveIcon();
  if (icon != wxICON_NONE) {
    iconAndText->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetMessageBoxIcon(icon)),
                     wxSizerFlags().Top().Border(wxRIGHT, 2 * kBorder));
  }
  wxWindow* textArea = CreateText();
  iconAndText->Add(textArea, wxSizerFlags(1).Expand());

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(iconAndText, wxSizerFlags(1).Expand().Border(wxALL, kBorder));
  top->Add(CreateSeparatedButtonSizer(IsQuestion() ? wxYES_NO : wxOK),
           wxSizerFlags().Expand().Border(wxALL, kBorder));
  SetSizerAndFit(top);
  FitIntoScreen(*textArea);

  if (IsQuestion()) SetEscapeId(wxID_NONE);
  Bind(wxEVT_BUTTON, &CMessageBox::OnAnswer, this, wxID_YES);
  Bind(wxEVT_BUTTON, &CMessageBox::OnAnswer, this, wxID_NO);
  Bind(wxEVT_CLOSE_WINDOW, &CMessageBox::OnClose, this);
  CentreOnParent();
}

// The text in a window that scrolls vertically once the box has to be cut
// to the screen's height.
wxWindow* CMessageBox::CreateText() {
  auto* area = new wxScrolledWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxVSCROLL);
  auto* label = new wxStaticText(area, wxID_ANY, GetMessage());
  const int screenWidth = ScreenArea().width;
  label->Wrap(std::min(GetCharWidth() * kLineChars, screenWidth / 2));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(label);
  area->SetSizer(sizer);
  area->SetScrollRate(0, label->GetCharHeight());
  area->SetMinSize(label->GetBestSize());
  return area;
}

wxRect CMessageBox::ScreenArea() {
  return wxDisplay(m_parent ? m_parent : this).GetClientArea();
}

void CMessageBox::FitIntoScreen(wxWindow& text) {
  const int room = ScreenArea().height;
  const int excess = GetSize().y - room;
  if (excess <= 0) return;
  const wxSize full = text.GetMinSize();
  text.SetMinSize(wxSize(full.x + wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this),
                         std::max(full.y - excess, text.GetCharHeight())));
  GetSizer()->SetSizeHints(this);
}

void CMessageBox::OnAnswer(wxCommandEvent& event) {
  EndModal(event.GetId());
}

// Only a question's own buttons answer it, unless the session ends and the
// close cannot be refused: then the answer is No.
void CMessageBox::OnClose(wxCloseEvent& event) {
  if (IsQuestion() && event.CanVeto()) {
    event.Veto();
    return;
  }
  EndDialog(IsQuestion() ? wxID_NO : wxID_OK);
}
