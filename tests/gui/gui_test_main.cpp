// SPDX-License-Identifier: MIT
// Runs the dialog's tests inside the started application: CConverterApp is
// the application object, started with a level prefix on its command line,
// which it must ignore.
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

#include <cstdio>

#include "frontend/wx/converter_app.h"

namespace {

// The toolkit's own assertion would show a dialog and wait for a person.
void FailOnAssert(const wxString& file, int line, const wxString& function, const wxString& cond,
                  const wxString& message) {
  ADD_FAILURE_AT(file.utf8_str(), line)
      << "wxWidgets assertion in " << function << ": " << cond << " " << message;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  char prefix[] = "jungle";
  char* wx_argv[] = {argv[0], prefix, nullptr};
  int wx_argc = 2;
  wxSetAssertHandler(FailOnAssert);
  wxApp::SetInstance(new CConverterApp);
  if (!wxEntryStart(wx_argc, wx_argv)) return 1;
  if (!wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "the application refused to start with a level prefix as argument\n");
    return 1;
  }
  const int status = RUN_ALL_TESTS();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return status;
}
