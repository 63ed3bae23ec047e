// SPDX-License-Identifier: MIT
#include "frontend/wx/converter_dlg.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/gauge.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "frontend/help_text.h"
#include "frontend/wx/resource.h"
#include "tests/gui/dialog_driver.h"

namespace zur::gui_test {
namespace {

constexpr const char* kGiveAFilename = "Conversion failed.\n\nGive a filename.";

TEST(ConverterDialog, HasTheCaptionAndAFixedFrameWithOnlyACloseBox) {
  CConverterDlg dialog;
  EXPECT_EQ(dialog.GetTitle(), "ZUR level converter v1.0");
  EXPECT_EQ(dialog.GetId(), IDD_CONVERTER_DIALOG);
  const long style = dialog.GetWindowStyle();
  EXPECT_EQ(style & (wxRESIZE_BORDER | wxMINIMIZE_BOX | wxMAXIMIZE_BOX), 0);
  EXPECT_EQ(style & (wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX),
            wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX);
  EXPECT_EQ(dialog.GetClientSize(), dialog.ConvertDialogToPixels(wxSize(278, 101)));
}

TEST(ConverterDialog, PlacesEveryControlInDialogUnitsWithItsText) {
  const struct {
    int id;
    const char* text;  // nullptr: the control shows none
    int x, y, w, h;
  } controls[] = {
      {IDC_PREFIXES, "", 7, 60, 210, 12},      {IDC_CONVERT, "&Convert", 163, 80, 50, 14},
      {wxID_OK, "E&xit", 221, 80, 50, 14},     {IDC_PROGRESS, nullptr, 7, 80, 148, 14},
      {wxID_CANCEL, "&Open", 221, 59, 50, 14},
  };
  CConverterDlg dialog;
  for (const auto& c : controls) {
    const wxWindow* control = dialog.FindWindow(c.id);
    ASSERT_NE(control, nullptr) << "id " << c.id;
    EXPECT_EQ(control->GetPosition(), dialog.ConvertDialogToPixels(wxPoint(c.x, c.y)))
        << "id " << c.id;
    EXPECT_EQ(control->GetSize(), dialog.ConvertDialogToPixels(wxSize(c.w, c.h))) << "id " << c.id;
    if (c.text != nullptr) {
      EXPECT_EQ(control->GetLabel(), c.text) << "id " << c.id;
    }
  }
}

TEST(ConverterDialog, ShowsTheInstructionsAboveTheField) {
  const struct {
    const char* text;
    int x, y, w, h;
  } texts[] = {
      {"Either use Open-button to open the config file(s) for the map(s) you want to convert to "
       "levels, or type in the level prefix (e.g. jungle). If you don't enter the full path, then "
       "the files must be located in the same directory as the level converter.",
       7, 7, 264, 32},
      {"Output comes in the same directory where the source files are", 7, 44, 264, 9},
  };
  CConverterDlg dialog;
  std::vector<wxStaticText*> statics;
  for (wxWindow* child : dialog.GetChildren()) {
    if (auto* text = dynamic_cast<wxStaticText*>(child)) statics.push_back(text);
  }
  ASSERT_EQ(statics.size(), std::size(texts));
  for (std::size_t i = 0; i < statics.size(); ++i) {
    wxString shown = statics[i]->GetLabel();
    shown.Replace("\n", " ");  // wrapped to the text's width
    EXPECT_EQ(shown, texts[i].text) << "text " << i;
    EXPECT_EQ(statics[i]->GetPosition(),
              dialog.ConvertDialogToPixels(wxPoint(texts[i].x, texts[i].y)))
        << "text " << i;
    EXPECT_EQ(statics[i]->GetSize(), dialog.ConvertDialogToPixels(wxSize(texts[i].w, texts[i].h)))
        << "text " << i;
  }
}

TEST(ConverterDialog, TabsFromTheFieldThroughConvertExitAndOpen) {
  CConverterDlg dialog;
  std::vector<int> stops;
  for (wxWindow* child : dialog.GetChildren()) {
    if (child->CanAcceptFocus()) stops.push_back(child->GetId());
  }
  EXPECT_EQ(stops, (std::vector<int>{IDC_PREFIXES, IDC_CONVERT, wxID_OK, wxID_CANCEL}));
  EXPECT_EQ(dialog.GetDefaultItem(), dialog.FindWindow(IDC_CONVERT));
}

TEST(ConverterDialog, OpensCentredIdleAndWithItsIcons) {
  CConverterDlg dialog;
  RunModal(dialog, [&] {
    const wxRect screen = wxDisplay(&dialog).GetGeometry();
    const wxRect window = dialog.GetScreenRect();
    const wxPoint offset = (window.GetPosition() + window.GetSize() / 2) -
                           (screen.GetPosition() + screen.GetSize() / 2);
    EXPECT_LE(std::abs(offset.x), 1) << "horizontal";
    EXPECT_LE(std::abs(offset.y), 1) << "vertical";
    EXPECT_EQ(FieldText(dialog), "");
    EXPECT_EQ(ProgressPosition(dialog), 0);
    EXPECT_EQ(static_cast<wxGauge*>(dialog.FindWindow(IDC_PROGRESS))->GetRange(), 100);
    const wxIconBundle icons = dialog.GetIcons();
    EXPECT_TRUE(icons.GetIcon(32, wxIconBundle::FALLBACK_NONE).IsOk());
    EXPECT_TRUE(icons.GetIcon(16, wxIconBundle::FALLBACK_NONE).IsOk());
  });
}

// What a key or a window command sets off.
enum class Outcome { Convert, Open, Exit, Help };

struct KeyCase {
  const char* name;
  std::function<void(CConverterDlg&, const std::function<bool()>&)> act;
  Outcome outcome;
};

TEST(ConverterDialog, MapsKeysAndWindowCommandsToConvertOpenExitAndHelp) {
  const KeyCase cases[] = {
      {"Enter in the field", [](auto& d, auto& done) { PressKey(d, WXK_RETURN, 0, done); },
       Outcome::Convert},
      {"Alt+C", [](auto& d, auto& done) { PressKey(d, 'c', wxMOD_ALT, done); }, Outcome::Convert},
      {"Convert button", [](auto& d, auto&) { Click(d, IDC_CONVERT); }, Outcome::Convert},
      {"Escape", [](auto& d, auto& done) { PressKey(d, WXK_ESCAPE, 0, done); }, Outcome::Open},
      {"Alt+F4", [](auto& d, auto& done) { PressKey(d, WXK_F4, wxMOD_ALT, done); }, Outcome::Open},
      {"Alt+O", [](auto& d, auto& done) { PressKey(d, 'o', wxMOD_ALT, done); }, Outcome::Open},
      {"close box", [](auto& d, auto&) { EXPECT_FALSE(d.Close()); }, Outcome::Open},
      {"Open button", [](auto& d, auto&) { Click(d, wxID_CANCEL); }, Outcome::Open},
      {"Exit button", [](auto& d, auto&) { Click(d, wxID_OK); }, Outcome::Exit},
      {"Alt+X", [](auto& d, auto& done) { PressKey(d, 'x', wxMOD_ALT, done); }, Outcome::Exit},
      {"F1", [](auto& d, auto& done) { PressKey(d, WXK_F1, 0, done); }, Outcome::Help},
  };
  for (const KeyCase& c : cases) {
    ModalAnswers answers;
    int picks = 0;
    CConverterDlg dialog([&](wxWindow*) {
      ++picks;
      return std::optional<std::vector<std::string>>();
    });
    const auto done = [&] { return picks > 0 || !answers.boxes.empty() || !dialog.IsModal(); };
    const int ended = RunModal(dialog, [&] { c.act(dialog, done); });

    EXPECT_EQ(ended, c.outcome == Outcome::Exit ? wxID_OK : kEndedByTest) << c.name;
    EXPECT_EQ(picks, c.outcome == Outcome::Open ? 1 : 0) << c.name;
    const std::vector<std::string> texts = answers.texts();
    switch (c.outcome) {
      case Outcome::Convert:
        EXPECT_EQ(texts, std::vector<std::string>{kGiveAFilename}) << c.name;
        break;
      case Outcome::Help:
        ASSERT_EQ(texts, std::vector<std::string>{zur::dialog::kHelpText}) << c.name;
        EXPECT_EQ(answers.boxes[0].caption, "ZUR level converter v1.0");
        EXPECT_EQ(answers.boxes[0].style & wxICON_MASK, wxICON_INFORMATION);
        EXPECT_EQ(answers.boxes[0].owner, &dialog);
        break;
      case Outcome::Open:
      case Outcome::Exit:
        EXPECT_TRUE(texts.empty()) << c.name;
        break;
    }
  }
}

}  // namespace
}  // namespace zur::gui_test
