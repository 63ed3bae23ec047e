// SPDX-License-Identifier: MIT
#include "config_file_picker.h"

#include <gtk/gtk.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>

#include "../picked_paths.h"
#include "engine_text.h"
#include "message_box.h"

const char* const kConfigFileWildcard =
    "Configure files (*.txt)|*.txt;*.txT;*.tXt;*.tXT;*.Txt;*.TxT;*.TXt;*.TXT";

namespace {

void FindFileChooser(GtkWidget* widget, gpointer found) {
  if (GTK_IS_FILE_CHOOSER_WIDGET(widget)) {
    *static_cast<GtkWidget**>(found) = widget;
  } else if (GTK_IS_CONTAINER(widget)) {
    gtk_container_forall(GTK_CONTAINER(widget), FindFileChooser, found);
  }
}

// The toolkit lets an open dialog show a name only for an existing file;
// the chooser's own way to type a location takes any text.
void ShowName(wxFileDialog& picker, const wxString& name) {
  GtkWidget* chooser = nullptr;
  FindFileChooser(static_cast<GtkWidget*>(picker.GetHandle()), &chooser);
  if (chooser != nullptr) g_signal_emit_by_name(chooser, "location-popup", name.utf8_str().data());
}

std::optional<std::vector<std::string>> ShowFileDialog(wxWindow* owner,
                                                       const zur::dialog::PickerStart& start) {
  wxFileDialog picker(owner, "Open", FromEngine(start.folder), wxEmptyString, kConfigFileWildcard,
                      wxFD_OPEN | wxFD_MULTIPLE);
  if (!start.name.empty()) {
    picker.CallAfter([&picker, name = FromEngine(start.name)] { ShowName(picker, name); });
  }
  if (picker.ShowModal() != wxID_OK) return std::nullopt;
  wxArrayString picked;
  picker.GetPaths(picked);
  std::vector<std::string> paths;
  for (const wxString& path : picked) paths.push_back(ToEngine(path));
  return paths;
}

}  // namespace

// The toolkit's own check that the files exist would refuse a typed name
// before the default extension is added, so the check is made afterwards.
std::optional<std::vector<std::string>> PickConfigFiles(wxWindow* owner) {
  return zur::dialog::pick_config_files(
      [owner](const zur::dialog::PickerStart& start) { return ShowFileDialog(owner, start); },
      [](const std::string& path) { return wxFileExists(FromEngine(path)); },
      [owner](const std::string& message) {
        CMessageBox(owner, FromEngine(message), wxOK | wxICON_ERROR).ShowModal();
      });
}
