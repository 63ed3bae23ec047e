#include "frontend/config_file_picker.h"

#include <wx/filedlg.h>

#include "engine/level/level_prefix.h"

const char* const kConfigFileWildcard =
    "Configure files (*.txt)|*.txt;*.txT;*.tXt;*.tXT;*.Txt;*.TxT;*.TXt;*.TXT";

std::optional<wxArrayString> PickConfigFiles(wxWindow* owner) {
  wxFileDialog picker(owner, "Open", wxEmptyString, wxEmptyString, kConfigFileWildcard,
                      wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST);
  if (picker.ShowModal() != wxID_OK) return std::nullopt;
  wxArrayString paths;
  picker.GetPaths(paths);
  return paths;
}

wxString JoinPrefixes(const wxArrayString& paths) {
  wxString prefixes;
  for (const wxString& path : paths) {
    if (!prefixes.empty()) prefixes += " | ";
    const std::string prefix = zur::prefix_from_picked_path(path.mb_str(*wxConvFileName).data());
    prefixes += wxString(prefix.c_str(), *wxConvFileName);
  }
  return prefixes;
}
