// SPDX-License-Identifier: MIT
#include "frontend/dialog_prompts.h"

#include <gtest/gtest.h>
#include <wx/msgdlg.h>

#include "engine/base/error.h"
#include "frontend/wx/message_box.h"
#include "tests/gui/dialog_driver.h"

namespace zur::gui_test {
namespace {

using dialog::DialogPrompts;

TEST(DialogPrompts, ShowsMessagesWithTheCaptionTheIconKindAndTheDialogAsOwner) {
  const struct {
    Icon icon;
    long style;
  } cases[] = {
      {Icon::None, wxICON_NONE},
      {Icon::Error, wxICON_ERROR},
      {Icon::Information, wxICON_INFORMATION},
  };
  for (const auto& c : cases) {
    ModalAnswers answers;
    CConverterDlg dialog;
    RunModal(dialog, [&] { DialogPrompts(dialog).show_message("Line one\nline two", c.icon); });
    ASSERT_EQ(answers.boxes.size(), 1u) << "icon " << static_cast<int>(c.icon);
    const ShownBox& box = answers.boxes[0];
    EXPECT_EQ(box.text, "Line one\nline two");
    EXPECT_EQ(box.caption, "ZUR level converter v1.0");
    EXPECT_EQ(box.style & (kIconBits | wxOK | wxYES_NO), c.style | wxOK)
        << "icon " << static_cast<int>(c.icon);
    EXPECT_EQ(box.owner, &dialog);
  }
}

TEST(DialogPrompts, AsksYesOrNoAndAnswersYesOnlyForYes) {
  const struct {
    Icon icon;
    int button;
    bool yes;
  } cases[] = {
      {Icon::None, wxID_YES, true},
      {Icon::None, wxID_NO, false},
      {Icon::Information, wxID_YES, true},
      {Icon::Information, wxID_NO, false},
  };
  for (const auto& c : cases) {
    ModalAnswers answers;
    answers.answers = {c.button};
    CConverterDlg dialog;
    bool yes = !c.yes;
    RunModal(dialog, [&] {
      yes = DialogPrompts(dialog).ask_yes_no("Go on?", c.icon, Question::IllegalColour);
    });
    const std::string row =
        "icon " + std::to_string(static_cast<int>(c.icon)) + ", button " + std::to_string(c.button);
    EXPECT_EQ(yes, c.yes) << row;
    ASSERT_EQ(answers.boxes.size(), 1u) << row;
    EXPECT_EQ(answers.boxes[0].style & (kIconBits | wxYES_NO | wxOK),
              MessageIconStyle(c.icon) | wxYES_NO)
        << row;
    EXPECT_EQ(answers.boxes[0].owner, &dialog) << row;
  }
}

TEST(DialogPrompts, ShowsAPrefixThatIsNotValidUtf8) {
  ModalAnswers answers;
  CConverterDlg dialog;
  RunModal(dialog,
           [&] { DialogPrompts(dialog).show_message("File missing:\nj\xE9.txt", Icon::Error); });
  ASSERT_EQ(answers.boxes.size(), 1u);
  EXPECT_EQ(answers.boxes[0].text.rfind("File missing:\nj", 0), 0u);
  EXPECT_GT(answers.boxes[0].text.size(), std::string("File missing:\nj").size());
}

// The system's reasons for a failure stand under its fixed text, in its box.
TEST(DialogPrompts, ShowsAFailuresReasonsUnderItsTextInOneBox) {
  ModalAnswers answers;
  CConverterDlg dialog;
  const Error reasons[] = {
      system_error("cannot write", "a.lev", std::make_error_code(std::errc::read_only_file_system)),
      {"cannot remove the old level file", "a.lev", "in use", {}, {}}};
  RunModal(dialog,
           [&] { DialogPrompts(dialog).show_failure("Conversion failed.", Icon::Error, reasons); });
  ASSERT_EQ(answers.boxes.size(), 1u);
  EXPECT_EQ(answers.boxes[0].text, "Conversion failed.\n\n" + reasons[0].text() +
                                       "\ncannot remove the old level file a.lev: in use");
  EXPECT_EQ(answers.boxes[0].style & (kIconBits | wxOK), wxICON_ERROR | wxOK);
}

}  // namespace
}  // namespace zur::gui_test
