// SPDX-License-Identifier: MIT
// The application object of zurconv-gui: runs the converter dialog modally
// as the program's only window and ends the program, with status 0, when
// the dialog ends. The command line is not read.
#pragma once

#include <wx/app.h>

class CConverterApp : public wxApp {
 public:
  bool OnInit() override;
  int OnRun() override;
};
