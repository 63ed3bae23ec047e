// SPDX-License-Identifier: MIT
#include "frontend/wx/config_file_picker.h"

#include <wx/filedlg.h>
#include <wx/filename.h>

#include <algorithm>

#include "engine/level/level_prefix.h"
#include "frontend/wx/engine_text.h"
#include "frontend/wx/message_box.h"

const char* const kConfigFileWildcard =
    "Configure files (*.txt)|*.txt;*.txT;*.tXt;*.tXT;*.Txt;*.TxT;*.TXt;*.TXT";

wxString WithDefaultExtension(const wxString& path) {
  wxFileName name(path);
  if (!name.HasExt()) name.SetExt("txt");
  return name.GetFullPath();
}

// The toolkit's own check that the files exist would refuse a typed name
// before the default extension is added, so the check is made here, and the
// file dialog comes back until every file exists or the user cancels.
std::optional<wxArrayString> PickConfigFiles(wxWindow* owner) {
  wxFileDialog picker(owner, "Open", wxEmptyString, wxEmptyString, kConfigFileWildcard,
                      wxFD_OPEN | wxFD_MULTIPLE);
  while (picker.ShowModal() == wxID_OK) {
    wxArrayString paths;
    picker.GetPaths(paths);
    for (wxString& path : paths) path = WithDefaultExtension(path);
    if (std::all_of(paths.begin(), paths.end(), [](const wxString& p) { return wxFileExists(p); }))
      return paths;
    CMessageBox(owner, "Please choose an existing file.", wxOK | wxICON_ERROR).ShowModal();
  }
  return std::nullopt;
}

wxString JoinPrefixes(const wxArrayString& paths) {
  wxString prefixes;
  for (const wxString& path : paths) {
    if (!prefixes.empty()) prefixes += " | ";
    prefixes += FromEngine(zur::prefix_from_picked_path(ToEngine(path)));
  }
  return prefixes;
}
