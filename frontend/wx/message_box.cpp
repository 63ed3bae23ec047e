// SPDX-License-Identifier: MIT
#include "message_box.h"

#include <wx/artprov.h>
#include <wx/display.h>
#include <wx/scrolwin.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace {

constexpr int kBorder = 10;  // pixels around the contents
// The title bar's icon and buttons, and its margins, in character heights.
constexpr int kTitleBarExtras = 6;

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
  WidenForCaption();

  if (IsQuestion()) SetEscapeId(wxID_NONE);
  Bind(wxEVT_BUTTON, &CMessageBox::OnAnswer, this, wxID_YES);
  Bind(wxEVT_BUTTON, &CMessageBox::OnAnswer, this, wxID_NO);
  Bind(wxEVT_CLOSE_WINDOW, &CMessageBox::OnClose, this);
  Bind(wxEVT_SHOW, &CMessageBox::OnShow, this);
  Bind(wxEVT_CHAR_HOOK, &CMessageBox::OnKey, this);
  CentreOnParent();
}

// The text in a window that scrolls vertically once the box has to be cut
// to the screen's height.
wxWindow* CMessageBox::CreateText() {
  auto* area = new wxScrolledWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxVSCROLL);
  const int width = zur::dialog::wrap_width(GetCharWidth(), ScreenArea().width);
  const std::string text =
      zur::dialog::wrap_text(GetMessage().utf8_string(), width, [this](std::string_view line) {
        return GetTextExtent(wxString::FromUTF8(line.data(), line.size())).x;
      });
  auto* label = new wxStaticText(area, wxID_ANY, wxEmptyString);
  label->SetLabelText(wxString::FromUTF8(text));
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

// The window manager's title font is not known here; a bold face of the
// box's own font, which is no smaller, stands for it.
void CMessageBox::WidenForCaption() {
  wxFont bold = GetFont();
  bold.MakeBold();
  int title = 0;
  GetTextExtent(GetTitle(), &title, nullptr, nullptr, nullptr, &bold);
  const int caption = title + kTitleBarExtras * GetCharHeight();
  const int width = zur::dialog::box_width(GetSize().x, caption, ScreenArea().width);
  SetMinSize(wxSize(width, GetMinSize().y));
  SetSize(wxSize(width, GetSize().y));
}

void CMessageBox::OnShow(wxShowEvent& event) {
  if (event.IsShown()) m_keys.box_shown();
  event.Skip();
}

// A dropped key is not skipped on, so that no button sees it.
void CMessageBox::OnKey(wxKeyEvent& event) {
  if (!IsQuestion() || m_keys.takes_key()) event.Skip();
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
