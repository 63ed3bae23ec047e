// SPDX-License-Identifier: MIT
#include "converter_dlg.h"

#include <wx/accel.h>
#include <wx/button.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/valtext.h>

#include <string>

#include "../dialog_batch.h"
#include "../help_text.h"
#include "../picked_paths.h"
#include "batch_input.h"
#include "converter_icon.h"
#include "engine_text.h"
#include "message_box.h"
#include "progress_bar.h"
#include "resource.h"

namespace {

// Together a little longer than one frame of a 60 Hz display.
constexpr int kRepaintSteps = 4;
constexpr unsigned long kRepaintStepMs = 5;

// Alt+F4 where no window manager turns it into a close request.
constexpr int kAskToClose = wxID_HIGHEST + 1;

}  // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CConverterDlg, wxDialog)
  EVT_INIT_DIALOG(CConverterDlg::OnInitDialog)
  EVT_BUTTON(IDC_CONVERT, CConverterDlg::OnConvert)
  EVT_TEXT_ENTER(IDC_PREFIXES, CConverterDlg::OnConvert)
  EVT_BUTTON(IDCANCEL, CConverterDlg::OnOpen)
  EVT_CLOSE(CConverterDlg::OnClose)
  EVT_SIZE(CConverterDlg::OnSize)
  EVT_MENU(kAskToClose, CConverterDlg::OnAskToClose)
  EVT_MENU(wxID_HELP, CConverterDlg::OnHelp)
wxEND_EVENT_TABLE();
// clang-format on

CConverterDlg::CConverterDlg(FilePicker pickFiles)
    : wxDialog(nullptr, IDD_CONVERTER_DIALOG, zur::kProgramTitle, wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
      m_hIcon(LoadConverterIcons()),
      m_pickFiles(std::move(pickFiles)) {
  CreateControls();
  SetClientSize(ConvertDialogToPixels(wxSize(kDialogWidth, kDialogHeight)));
  SetEscapeId(IDCANCEL);
  wxAcceleratorEntry keys[] = {{wxACCEL_NORMAL, WXK_F1, wxID_HELP},
                               {wxACCEL_ALT, WXK_F4, kAskToClose}};
  SetAcceleratorTable(wxAcceleratorTable(std::size(keys), keys));
}

// The controls in template order, so that the tab order follows it.
void CConverterDlg::CreateControls() {
  for (const ControlTemplate& control : kControls) {
    const wxPoint position = ConvertDialogToPixels(wxPoint(control.x, control.y));
    const wxSize size = ConvertDialogToPixels(wxSize(control.width, control.height));
    switch (control.kind) {
      case ControlKind::Edit:
        new wxTextCtrl(this, control.id, control.text, position, size,
                       wxTE_PROCESS_ENTER | wxTE_LEFT,
                       wxTextValidator(wxFILTER_NONE, &m_strPrefixes));
        break;
      case ControlKind::Button:
        new wxButton(this, control.id, control.text, position, size);
        break;
      case ControlKind::Static:
        (new wxStaticText(this, control.id, control.text, position, size,
                          wxALIGN_LEFT | wxST_NO_AUTORESIZE))
            ->Wrap(size.x);
        break;
      case ControlKind::Progress:
        m_progress = new CProgressBar(this, control.id, position, size);
        break;
    }
  }
  static_cast<wxButton*>(FindWindow(IDC_CONVERT))->SetDefault();
}

bool CConverterDlg::UpdateData(bool saveAndValidate) {
  return saveAndValidate ? TransferDataFromWindow() : TransferDataToWindow();
}

void CConverterDlg::OnInitDialog(wxInitDialogEvent& event) {
  wxDialog::OnInitDialog(event);  // the first transfer: the field shows m_strPrefixes
  SetIcons(m_hIcon);
  m_progress->SetValue(0);
  FindWindow(IDC_PREFIXES)->SetFocus();  // the toolkit leaves the focus to nobody
}

// The frame's size is known only once the window manager has framed the
// shown window; the dialog's own size never changes, so a new size means a
// newly known frame, and the dialog is centred again with it.
void CConverterDlg::OnSize(wxSizeEvent& event) {
  if (event.GetSize() != m_centredSize) {
    m_centredSize = event.GetSize();
    CentreOnScreen();
  }
  event.Skip();
}

// The toolkit repaints in frames, at most one per display refresh, laying
// the bar out before drawing it; letting it run for a little over one
// refresh lets the next frame run. Input that reached the dialog meanwhile
// is dropped.
void CConverterDlg::SetProgress(int position) {
  m_progress->SetValue(position);
  UpdateData(false);
  for (int i = 0; i < kRepaintSteps; ++i) {
    wxMilliSleep(kRepaintStepMs);
    RepaintDroppingInput(*this);
  }
}

// Called often, so it waits for no frame: the next call, or the next
// progress step, shows what this one could not.
void CConverterDlg::KeepAlive(int position) {
  m_progress->SetValue(position);
  RepaintDroppingInput(*this);
}

bool CConverterDlg::ShowBox(const std::string& text, const zur::dialog::BoxKind& kind) {
  RepaintDroppingInput(*this);
  return CMessageBox(this, FromEngine(text), BoxStyle(kind)).ShowModal() == wxID_YES;
}

void CConverterDlg::OnConvert(wxCommandEvent&) {
  UpdateData(true);
  zur::dialog::DialogPrompts prompts(*this);
  zur::dialog::convert_field_text(ToEngine(m_strPrefixes), prompts, m_arrPickedFiles);
  RepaintDroppingInput(*this);  // what arrived since the last job's end
}

void CConverterDlg::OnOpen(wxCommandEvent&) {
  const std::optional<std::vector<std::string>> paths = m_pickFiles(this);
  if (!paths) return;
  m_strPrefixes = FromEngine(zur::dialog::join_prefixes(*paths));
  m_arrPickedFiles = *paths;
  UpdateData(false);
  FindWindow(IDC_PREFIXES)->SetFocus();  // ready for Enter
}

// The close box and the window menu's Close open the picker; only a close
// that cannot be refused, at the end of the session, ends the dialog.
void CConverterDlg::OnClose(wxCloseEvent& event) {
  if (!event.CanVeto()) {
    EndDialog(IDOK);
    return;
  }
  event.Veto();
  wxCommandEvent open(wxEVT_BUTTON, IDCANCEL);
  OnOpen(open);
}

void CConverterDlg::OnAskToClose(wxCommandEvent&) {
  Close();
}

void CConverterDlg::OnHelp(wxCommandEvent&) {
  CMessageBox(this, zur::dialog::kHelpText, wxOK | wxICON_INFORMATION).ShowModal();
}
