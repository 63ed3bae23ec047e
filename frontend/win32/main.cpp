// SPDX-License-Identifier: MIT
// zurconv-gui: the converter dialog as a Windows application. The dialog is
// its only window; the program ends, with status 0, when the dialog ends.
// The command line is not read.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "config_file_picker.h"
#include "converter_dlg.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  CConverterDlg dialog(instance, PickConfigFiles);
  dialog.DoModal();
  return 0;
}
