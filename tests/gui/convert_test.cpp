// SPDX-License-Identifier: MIT
// Convert in the dialog: the batch runs on the field's text, its message
// boxes are owned by the dialog, and the progress bar moves and is repainted.
#include <gtest/gtest.h>
#include <wx/msgdlg.h>
#include <wx/uiaction.h>

#include <cstdlib>

#include "frontend/wx/converter_dlg.h"
#include "frontend/wx/resource.h"
#include "tests/gui/dialog_driver.h"
#include "tests/support/level_sources.h"

namespace zur::gui_test {
namespace {

using dialog::DialogPrompts;
using test::TempDir;
using test::TgaBuilder;

// Records every progress position the engine sets, with what the dialog
// shows right after it; can type into the field before each one, as if the
// user had edited it during the batch.
class RecordingDlg : public CConverterDlg {
 public:
  std::vector<int> positions;
  std::vector<int> shown_positions;
  std::vector<std::string> fields;
  std::string typed_before_progress;
  // The bar as the display showed it right after each position was set.
  std::vector<std::vector<unsigned long>> screens;
  // Runs when the first position is set.
  std::function<void()> at_first_position;

  void SetProgress(int position) override {
    if (positions.empty() && at_first_position) at_first_position();
    positions.push_back(position);
    if (!typed_before_progress.empty()) TypeIntoField(*this, typed_before_progress);
    CConverterDlg::SetProgress(position);
    shown_positions.push_back(ProgressPosition(*this));
    fields.push_back(FieldText(*this));
    screens.push_back(ProgressPixelsOnScreen(*this));
  }
};

void Convert(CConverterDlg& dialog, const std::string& text) {
  RunModal(dialog, [&] {
    TypeIntoField(dialog, text);
    Click(dialog, IDC_CONVERT);
  });
}

TEST(Convert, EmptyFieldAsksForAFilenameWithoutMovingTheBar) {
  ModalAnswers answers;
  RecordingDlg dialog;
  Convert(dialog, "");
  ASSERT_EQ(answers.boxes.size(), 1u);
  const ShownBox& box = answers.boxes[0];
  EXPECT_EQ(box.text, "Conversion failed.\n\nGive a filename.");
  EXPECT_EQ(box.caption, "ZUR level converter v1.0");
  EXPECT_EQ(box.style & (kIconBits | wxYES_NO | wxOK), wxICON_ERROR | wxOK);
  EXPECT_EQ(box.owner, &dialog);
  EXPECT_TRUE(dialog.positions.empty());
}

TEST(Convert, MissingConfigFileIsReportedAndTheBarEndsAtZero) {
  TempDir dir;
  ModalAnswers answers;
  RecordingDlg dialog;
  Convert(dialog, dir.prefix("missing"));
  EXPECT_EQ(answers.texts(),
            std::vector<std::string>{
                "Conversion failed.\nLevel config file not found.\n\nFile missing:\n" +
                dir.prefix("missing") + ".txt"});
  EXPECT_EQ(answers.boxes.at(0).style & kIconBits, wxICON_ERROR);
  EXPECT_EQ(answers.boxes.at(0).owner, &dialog);
  EXPECT_EQ(dialog.positions, std::vector<int>{0});
  EXPECT_FALSE(dir.exists("missing.lev"));
}

TEST(Convert, MovesTheBarThrough40_70_100AndBackTo0) {
  TempDir dir;
  test::write_level(dir, "jungle", TgaBuilder(8, 8));
  ModalAnswers answers;
  RecordingDlg dialog;
  Convert(dialog, dir.prefix("jungle"));
  EXPECT_EQ(dialog.positions, (std::vector<int>{40, 70, 100, 0}));
  EXPECT_EQ(dialog.shown_positions, dialog.positions);
  ASSERT_FALSE(answers.boxes.empty());
  EXPECT_EQ(answers.boxes[0].progress, 100) << "the report is shown at 100";
  EXPECT_EQ(ProgressPosition(dialog), 0);
  EXPECT_TRUE(dir.exists("jungle.lev"));
}

// The batch keeps the event loop busy, so only a repaint forced at each
// position makes the bar move on screen.
TEST(Convert, ShowsEachPositionOnScreenAsSoonAsItIsSet) {
  TempDir dir;
  test::write_level(dir, "jungle", TgaBuilder(8, 8));
  ModalAnswers answers;
  RecordingDlg dialog;
  std::vector<unsigned long> empty;
  RunModal(dialog, [&] {
    for (int i = 0; i < 20; ++i) wxYield();  // the first painting
    empty = ProgressPixelsOnScreen(dialog);
    TypeIntoField(dialog, dir.prefix("jungle"));
    Click(dialog, IDC_CONVERT);
  });
  ASSERT_EQ(dialog.positions, (std::vector<int>{40, 70, 100, 0}));
  const struct { double low, high; } shares[] = {{0.3, 0.5}, {0.6, 0.8}, {0.9, 1.0}, {0.0, 0.0}};
  for (std::size_t i = 0; i < dialog.positions.size(); ++i) {
    const double share = ShareChanged(dialog.screens[i], empty, dialog);
    EXPECT_GE(share, shares[i].low) << "position " << dialog.positions[i];
    EXPECT_LE(share, shares[i].high) << "position " << dialog.positions[i];
  }
}

TEST(Convert, EachProgressStepRestoresTheTextTheFieldHadWhenConvertWasPressed) {
  TempDir dir;
  test::write_level(dir, "jungle", TgaBuilder(8, 8));
  const std::string text = "  " + dir.prefix("jungle") + " | ";
  ModalAnswers answers;
  RecordingDlg dialog;
  dialog.typed_before_progress = "typed during the batch";
  Convert(dialog, text);
  EXPECT_EQ(dialog.fields, std::vector<std::string>(4, text));
  EXPECT_EQ(FieldText(dialog), text);
  for (const ShownBox& box : answers.boxes) EXPECT_EQ(box.field, text) << box.text;
}

// Real keys and clicks reach the toolkit while the bar repaints. The dialog
// drops them: the batch runs once, and nothing opens the picker, during the
// batch or after it; later input is handled again.
TEST(Convert, DropsKeysAndClicksThatArriveDuringTheBatch) {
  TempDir dir;
  test::write_level(dir, "jungle", TgaBuilder(8, 8));
  ModalAnswers answers;
  RecordingDlg dialog;
  dialog.at_first_position = [&] {
    wxUIActionSimulator input;
    // Moving the pointer handles the input queued so far: it goes first.
    const wxRect convert = dialog.FindWindow(IDC_CONVERT)->GetScreenRect();
    input.MouseMove(convert.GetPosition() + convert.GetSize() / 2);
    input.Char(WXK_ESCAPE);
    input.MouseClick();
  };
  std::size_t pickers_after_batch = 99;
  RunModal(dialog, [&] {
    dialog.Raise();
    for (int i = 0; i < 20; ++i) wxYield();  // the first painting, and the focus
    TypeIntoField(dialog, dir.prefix("jungle"));
    Click(dialog, IDC_CONVERT);
    for (int i = 0; i < 20; ++i) wxYield();
    pickers_after_batch = answers.pickers.size();
    PressKey(dialog, WXK_ESCAPE, 0, [&] { return !answers.pickers.empty(); });
  });
  EXPECT_EQ(dialog.positions, (std::vector<int>{40, 70, 100, 0}));
  EXPECT_EQ(pickers_after_batch, 0u);
  EXPECT_EQ(answers.pickers.size(), 1u) << "Escape after the batch opens the picker";
}

// During a long pass the engine keeps the dialog alive, every 50 to 100 ms
// and nothing in between: the bar moves from 40 towards 70 on screen, and
// keys and clicks that reached the dialog are dropped.
TEST(Convert, KeepAliveMovesTheBarOnScreenAndDropsInput) {
  ModalAnswers answers;
  CConverterDlg dialog;
  std::vector<unsigned long> empty, shown;
  int position = -1;
  RunModal(dialog, [&] {
    dialog.Raise();
    for (int i = 0; i < 20; ++i) wxYield();  // the first painting, and the focus
    empty = ProgressPixelsOnScreen(dialog);
    DialogPrompts prompts(dialog);
    prompts.set_progress(40);
    wxUIActionSimulator input;
    const wxRect convert = dialog.FindWindow(IDC_CONVERT)->GetScreenRect();
    input.MouseMove(convert.GetPosition() + convert.GetSize() / 2);
    input.Char(WXK_ESCAPE);
    input.MouseClick();
    for (int i = 0; i < 4; ++i) {
      wxMilliSleep(50);  // the pass's work
      prompts.keep_alive(0.5);
    }
    position = ProgressPosition(dialog);
    shown = ProgressPixelsOnScreen(dialog);
    EXPECT_TRUE(answers.pickers.empty() && answers.boxes.empty()) << "input was handled";
  });
  EXPECT_EQ(position, 55);
  const double share = ShareChanged(shown, empty, dialog);
  EXPECT_GE(share, 0.45);
  EXPECT_LE(share, 0.65);
  EXPECT_TRUE(answers.pickers.empty() && answers.boxes.empty()) << "input was handled later";
}

TEST(Convert, AsksTheReportQuestionWithYesNoAndShowsStatisticsOnYes) {
  const struct {
    int answer;
    bool statistics;
  } cases[] = {{wxID_YES, true}, {wxID_NO, false}};
  for (const auto& c : cases) {
    TempDir dir;
    test::write_level(dir, "jungle", TgaBuilder(8, 8));
    ModalAnswers answers;
    answers.answers = {c.answer};
    RecordingDlg dialog;
    Convert(dialog, dir.prefix("jungle"));
    ASSERT_GE(answers.boxes.size(), 1u) << "answer " << c.answer;
    const ShownBox& question = answers.boxes[0];
    EXPECT_EQ(question.text.rfind("Conversion succesfully completed for level:", 0), 0u);
    EXPECT_EQ(question.style & (kIconBits | wxYES_NO), wxICON_INFORMATION | wxYES_NO);
    EXPECT_EQ(question.owner, &dialog);
    const bool statistics_shown =
        answers.boxes.size() > 1 && answers.boxes[1].text.rfind("Attribute map info:", 0) == 0;
    ASSERT_EQ(statistics_shown, c.statistics) << "answer " << c.answer;
    if (statistics_shown) {
      const ShownBox& statistics = answers.boxes[1];
      EXPECT_EQ(statistics.style & (kIconBits | wxOK | wxYES_NO), wxICON_NONE | wxOK);
      EXPECT_EQ(statistics.caption, "ZUR level converter v1.0");
      EXPECT_EQ(statistics.owner, &dialog);
    }
  }
}

TEST(Convert, WritesTheSameLevelFileAsTheCommandLine) {
  TgaBuilder map(24, 16, {0, 0, 0});
  for (int x = 0; x < 24; ++x) {
    for (int y = 10; y < 16; ++y)
      map.set(x, y, x < 8 ? test::Colour{0, 0, 200} : test::Colour{0, 152, 0});
  }
  TempDir gui_dir, cli_dir;
  test::write_level(gui_dir, "jungle", map);
  test::write_level(cli_dir, "jungle", map);

  ModalAnswers answers;
  RecordingDlg dialog;
  Convert(dialog, gui_dir.prefix("jungle"));
  const std::string command = std::string(ZURCONV_PATH) + " -q '" + cli_dir.prefix("jungle") +
                              "' </dev/null >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);

  const std::vector<std::uint8_t> from_dialog = gui_dir.read("jungle.lev");
  ASSERT_GT(from_dialog.size(), 958u);
  EXPECT_EQ(from_dialog, cli_dir.read("jungle.lev"));
}

}  // namespace
}  // namespace zur::gui_test
