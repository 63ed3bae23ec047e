// SPDX-License-Identifier: MIT
#include "frontend/wx/config_file_picker.h"

#include <gtest/gtest.h>
#include <wx/filedlg.h>
#include <wx/tokenzr.h>

#include "frontend/wx/converter_dlg.h"
#include "frontend/wx/resource.h"
#include "tests/gui/dialog_driver.h"

namespace zur::gui_test {
namespace {

TEST(ConfigFileWildcard, ShowsOneFilterMatchingTxtInAnyCase) {
  const wxArrayString parts = wxSplit(kConfigFileWildcard, '|', '\0');
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0], "Configure files (*.txt)");
  const wxArrayString patterns = wxSplit(parts[1], ';', '\0');
  const struct {
    const char* name;
    bool matches;
  } cases[] = {
      {"jungle.txt", true},  {"JUNGLE.TXT", true}, {"j.Txt", true},      {"j.tXt", true},
      {"j.txT", true},       {"j.TXt", true},      {"j.tXT", true},      {"j.TxT", true},
      {"jungle.tga", false}, {"jungle", false},    {"j.txt.bak", false}, {"j.text", false},
  };
  for (const auto& c : cases) {
    bool matched = false;
    for (const wxString& pattern : patterns) matched |= wxMatchWild(pattern, c.name);
    EXPECT_EQ(matched, c.matches) << c.name;
  }
}

TEST(PickConfigFiles, OpensAMultipleSelectionOfExistingFilesOwnedByTheDialog) {
  ModalAnswers answers;
  CConverterDlg dialog;
  std::optional<std::vector<std::string>> picked = std::vector<std::string>();
  RunModal(dialog, [&] { picked = PickConfigFiles(&dialog); });
  EXPECT_FALSE(picked.has_value()) << "a cancelled picker picks nothing";
  ASSERT_EQ(answers.pickers.size(), 1u);
  const ShownPicker& shown = answers.pickers[0];
  EXPECT_EQ(shown.wildcard, kConfigFileWildcard);
  // Existence is checked after the default extension is added.
  EXPECT_EQ(shown.style & (wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST),
            wxFD_OPEN | wxFD_MULTIPLE);
  EXPECT_EQ(shown.owner, &dialog);
}

// The Open button and its picker, with the picker replaced by a script.
struct OpenCase {
  const char* name;
  const char* typed;
  std::optional<std::vector<const char*>> picked;  // nothing: cancelled
  const char* field;
};

TEST(OpenButton, ReplacesTheFieldWithThePickedPrefixesOrLeavesItOnCancel) {
  const OpenCase cases[] = {
      {"two picked", "", std::vector{"/l/jungle.txt", "/l/cave.txt"}, "/l/jungle | /l/cave"},
      {"typed text replaced", "typed", std::vector{"/l/jungle.TXT"}, "/l/jungle"},
      {"cancel keeps typed text", "typed", std::nullopt, "typed"},
  };
  for (const OpenCase& c : cases) {
    int picks = 0;
    CConverterDlg dialog([&](wxWindow* owner) -> std::optional<std::vector<std::string>> {
      ++picks;
      EXPECT_EQ(owner, &dialog);
      if (!c.picked) return std::nullopt;
      return std::vector<std::string>(c.picked->begin(), c.picked->end());
    });
    RunModal(dialog, [&] {
      TypeIntoField(dialog, c.typed);
      Click(dialog, IDCANCEL);
      EXPECT_EQ(FieldText(dialog), c.field) << c.name;
      EXPECT_TRUE(dialog.IsModal()) << c.name;
    });
    EXPECT_EQ(picks, 1) << c.name;
  }
}

TEST(OpenButton, UsesTheConfigFilePickerByDefault) {
  ModalAnswers answers;
  CConverterDlg dialog;
  RunModal(dialog, [&] {
    TypeIntoField(dialog, "typed");
    Click(dialog, IDCANCEL);
    EXPECT_EQ(FieldText(dialog), "typed");
  });
  ASSERT_EQ(answers.pickers.size(), 1u);
  EXPECT_EQ(answers.pickers[0].owner, &dialog);
}

}  // namespace
}  // namespace zur::gui_test
