// SPDX-License-Identifier: MIT
#include "frontend/wx/config_file_picker.h"

#include <wx/filedlg.h>

#include <algorithm>

#include "frontend/picked_paths.h"
#include "frontend/wx/engine_text.h"
#include "frontend/wx/message_box.h"

const char* const kConfigFileWildcard =
    "Configure files (*.txt)|*.txt;*.txT;*.tXt;*.tXT;*.Txt;*.TxT;*.TXt;*.TXT";

// The toolkit's own check that the files exist would refuse a typed name
// before the default extension is added, so the check is made here, and the
// file dialog comes back until every file exists or the user cancels.
std::optional<std::vector<std::string>> PickConfigFiles(wxWindow* owner) {
  wxFileDialog picker(owner, "Open", wxEmptyString, wxEmptyString, kConfigFileWildcard,
                      wxFD_OPEN | wxFD_MULTIPLE);
  while (picker.ShowModal() == wxID_OK) {
    wxArrayString picked;
    picker.GetPaths(picked);
    std::vector<std::string> paths;
    for (const wxString& path : picked) {
      paths.push_back(zur::dialog::with_default_extension(ToEngine(path)));
    }
    if (std::all_of(paths.begin(), paths.end(),
                    [](const std::string& p) { return wxFileExists(FromEngine(p)); })) {
      return paths;
    }
    CMessageBox(owner, "Please choose an existing file.", wxOK | wxICON_ERROR).ShowModal();
  }
  return std::nullopt;
}
