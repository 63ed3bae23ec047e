// SPDX-License-Identifier: MIT
#include "converter_app.h"

#include "converter_dlg.h"

// The base class would parse the command line and refuse a level prefix on it.
bool CConverterApp::OnInit() {
  return true;
}

int CConverterApp::OnRun() {
  CConverterDlg dialog;
  SetTopWindow(&dialog);
  dialog.ShowModal();
  SetTopWindow(nullptr);
  return 0;
}
