// SPDX-License-Identifier: MIT
#include "frontend/wx/message_box.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/scrolwin.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/uiaction.h>

#include <algorithm>

#include "tests/gui/dialog_driver.h"

namespace zur::gui_test {
namespace {

constexpr int kOverTheText = 20;  // pixels into a box, beside no button

template <typename Control>
std::vector<Control*> Children(const wxWindow& window) {
  std::vector<Control*> found;
  for (wxWindow* child : window.GetChildren()) {
    if (auto* control = dynamic_cast<Control*>(child)) found.push_back(control);
  }
  return found;
}

TEST(MessageBox, ShowsTheIconOfItsKindAndItsButtons) {
  const struct {
    long style;
    bool icon;
    std::vector<int> buttons;
  } cases[] = {
      {wxOK | wxICON_ERROR, true, {wxID_OK}},
      {wxOK | wxICON_INFORMATION, true, {wxID_OK}},
      {wxOK | wxICON_NONE, false, {wxID_OK}},
      {wxYES_NO | wxICON_INFORMATION, true, {wxID_YES, wxID_NO}},
      {wxYES_NO | wxICON_NONE, false, {wxID_YES, wxID_NO}},
  };
  for (const auto& c : cases) {
    CMessageBox box(nullptr, "Line one\nline two", c.style);
    EXPECT_EQ(box.GetTitle(), "ZUR level converter v1.0");
    const std::vector<wxStaticBitmap*> icons = Children<wxStaticBitmap>(box);
    EXPECT_EQ(icons.size(), c.icon ? 1u : 0u) << "style " << c.style;
    if (!icons.empty()) {
      EXPECT_TRUE(icons[0]->GetBitmap().IsOk()) << "style " << c.style;
    }
    std::vector<int> buttons;
    for (wxButton* button : Children<wxButton>(box)) buttons.push_back(button->GetId());
    std::sort(buttons.begin(), buttons.end());
    EXPECT_EQ(buttons, c.buttons) << "style " << c.style;
    EXPECT_EQ(box.GetDefaultItem()->GetId(), c.buttons.front()) << "style " << c.style;
  }
}

// Escape and closing the window leave a question up; only its buttons answer.
TEST(MessageBox, AnswersAQuestionOnlyWithYesOrNo) {
  for (const int answer : {wxID_YES, wxID_NO}) {
    CConverterDlg dialog;
    CMessageBox box(&dialog, "Go on?", wxYES_NO | wxICON_INFORMATION);
    bool open_after_escape = false, open_after_close = false;
    box.CallAfter([&] {
      for (int i = 0; i < 20; ++i) wxYield();
      wxUIActionSimulator().Char(WXK_ESCAPE);
      for (int i = 0; i < 20; ++i) wxYield();
      open_after_escape = box.IsModal();
      box.Close();
      open_after_close = box.IsModal();
      Click(box, answer);
    });
    EXPECT_EQ(box.ShowModal(), answer);
    EXPECT_TRUE(open_after_escape);
    EXPECT_TRUE(open_after_close);
  }
}

// Enter pressed in the question's first 300 ms is dropped; Enter later
// answers Yes, the default.
TEST(MessageBox, AQuestionTakesNoKeyInItsFirst300Ms) {
  CConverterDlg dialog;
  CMessageBox box(&dialog, "Go on?", wxYES_NO | wxICON_NONE);
  bool open_after_early_enter = false;
  box.CallAfter([&] {
    // With no window manager, the keyboard follows the pointer.
    wxUIActionSimulator input;
    input.MouseMove(box.GetScreenPosition() + wxPoint(kOverTheText, kOverTheText));
    input.Char(WXK_RETURN);
    for (int i = 0; i < 10; ++i) {
      wxYield();
      wxMilliSleep(5);
    }
    open_after_early_enter = box.IsModal();
    wxMilliSleep(300);
    input.Char(WXK_RETURN);
    for (int i = 0; i < 100 && box.IsModal(); ++i) {
      wxYield();
      wxMilliSleep(10);
    }
    if (box.IsModal()) box.EndModal(wxID_CANCEL);
  });
  EXPECT_EQ(box.ShowModal(), wxID_YES);
  EXPECT_TRUE(open_after_early_enter);
}

TEST(MessageBox, AClickAnswersAQuestionAtOnce) {
  CConverterDlg dialog;
  CMessageBox box(&dialog, "Go on?", wxYES_NO | wxICON_NONE);
  box.CallAfter([&] {
    const wxRect no = box.FindWindow(wxID_NO)->GetScreenRect();
    wxUIActionSimulator input;
    input.MouseMove(no.GetPosition() + no.GetSize() / 2);
    input.MouseClick();
    for (int i = 0; i < 100 && box.IsModal(); ++i) {
      wxYield();
      wxMilliSleep(10);
    }
    if (box.IsModal()) box.EndModal(wxID_CANCEL);
  });
  EXPECT_EQ(box.ShowModal(), wxID_NO);
}

// A path of 10,000 characters without a blank wraps within the screen.
TEST(MessageBox, WrapsALongUnbrokenTextWithinTheScreen) {
  CConverterDlg dialog;
  const wxString path = "/" + wxString('a', 10'000);
  CMessageBox box(&dialog, "File missing:\n" + path, wxOK | wxICON_ERROR);
  EXPECT_LE(box.GetSize().x, wxDisplay(&dialog).GetClientArea().width);
  const std::vector<wxScrolledWindow*> areas = Children<wxScrolledWindow>(box);
  ASSERT_EQ(areas.size(), 1u);
  const std::vector<wxStaticText*> labels = Children<wxStaticText>(*areas[0]);
  ASSERT_EQ(labels.size(), 1u);
  wxString shown = labels[0]->GetLabelText();
  EXPECT_GT(shown.Replace("\n", ""), 20);
  EXPECT_EQ(shown, "File missing:" + path);
}

// The window manager's title font is no larger than the box's bold one, and
// the title bar holds the close box beside the caption.
TEST(MessageBox, IsAtLeastAsWideAsItsCaption) {
  CConverterDlg dialog;
  CMessageBox box(&dialog, "OK.", wxOK | wxICON_NONE);
  wxFont bold = box.GetFont();
  bold.MakeBold();
  int caption = 0;
  box.GetTextExtent("ZUR level converter v1.0", &caption, nullptr, nullptr, nullptr, &bold);
  EXPECT_GE(box.GetSize().x, caption + 2 * box.GetCharHeight());
}

TEST(MessageBox, ScrollsATextTallerThanTheScreen) {
  CConverterDlg dialog;
  wxString text;
  for (int i = 0; i < 200; ++i) text += wxString::Format("line %d\n", i);
  CMessageBox box(&dialog, text, wxOK | wxICON_NONE);
  EXPECT_LE(box.GetSize().y, wxDisplay(&dialog).GetClientArea().height);
  const std::vector<wxScrolledWindow*> areas = Children<wxScrolledWindow>(box);
  ASSERT_EQ(areas.size(), 1u);
  EXPECT_GT(areas[0]->GetVirtualSize().y, areas[0]->GetClientSize().y);
}

}  // namespace
}  // namespace zur::gui_test
