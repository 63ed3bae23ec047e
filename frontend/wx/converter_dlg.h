// SPDX-License-Identifier: MIT
// The converter dialog, the program's only window: the prefix field, Convert,
// Exit, Open and the progress bar. Convert runs the conversion batch on the
// field's text synchronously, with every message box owned by this dialog;
// every request to close the window opens the config file picker instead,
// so Exit is the one way to end the dialog. While a batch runs, the dialog
// drops the user's input. It opens centred on the screen, frame included,
// with the keyboard focus in the prefix field.
#pragma once

#include <wx/dialog.h>
#include <wx/gauge.h>
#include <wx/iconbndl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../dialog_prompts.h"
#include "config_file_picker.h"

class CConverterDlg : public wxDialog, public zur::dialog::PromptWindow {
 public:
  // Shows the file dialog and returns the picked paths in the engine's
  // encoding, or nothing on cancel.
  using FilePicker = std::function<std::optional<std::vector<std::string>>(wxWindow* owner)>;

  explicit CConverterDlg(FilePicker pickFiles = PickConfigFiles);

  // The dialog's side of its prompts (frontend/dialog_prompts.h); the field
  // is rewritten from m_strPrefixes.
  bool ShowBox(const std::string& text, const zur::dialog::BoxKind& kind) override;
  void SetProgress(int position) override;
  void KeepAlive(int position) override;

  // Copies the field into m_strPrefixes (true) or back (false).
  bool UpdateData(bool saveAndValidate);

 private:
  void CreateControls();
  void OnConvert(wxCommandEvent& event);
  void OnOpen(wxCommandEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnAskToClose(wxCommandEvent& event);
  void OnHelp(wxCommandEvent& event);
  void OnInitDialog(wxInitDialogEvent& event);
  void OnSize(wxSizeEvent& event);

  wxGauge* m_progress = nullptr;
  wxString m_strPrefixes;
  std::vector<std::string> m_arrPickedFiles;  // the last Open's config files
  wxIconBundle m_hIcon;
  FilePicker m_pickFiles;
  wxSize m_centredSize;  // the window's size, frame included, when it was last centred

  wxDECLARE_EVENT_TABLE();
};
