// SPDX-License-Identifier: MIT
#include "frontend/wx/converter_app.h"

#include <gtest/gtest.h>

#include "frontend/wx/resource.h"
#include "tests/gui/dialog_driver.h"

namespace zur::gui_test {
namespace {

// The application was started with a level prefix on its command line (see
// gui_test_main.cpp), which it does not read.
TEST(ConverterApp, RunsTheEmptyDialogUntilExitAndEndsWithStatus0) {
  ModalAnswers answers;
  bool still_open_after_close = false;
  std::string field = "not looked at";
  wxTheApp->CallAfter([&] {
    auto* dialog = dynamic_cast<CConverterDlg*>(wxTheApp->GetTopWindow());
    ASSERT_NE(dialog, nullptr);
    field = FieldText(*dialog);
    dialog->Close();
    still_open_after_close = dialog->IsModal();
    Click(*dialog, IDOK);
  });
  EXPECT_EQ(static_cast<CConverterApp*>(wxTheApp)->OnRun(), 0);
  EXPECT_EQ(field, "");
  EXPECT_TRUE(still_open_after_close);
  EXPECT_EQ(answers.pickers.size(), 1u) << "closing opens the picker";
  EXPECT_EQ(wxTheApp->GetTopWindow(), nullptr);
}

}  // namespace
}  // namespace zur::gui_test
