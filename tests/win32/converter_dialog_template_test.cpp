// SPDX-License-Identifier: MIT
// The converter dialog as Windows makes it from its template, asked through
// the window calls a person's tools would use: its frame, its controls in
// tab order with their classes, texts, styles and places. The places and
// sizes are given in dialog units and converted with the dialog's own
// font, so the check holds at any screen resolution. The icon group is read
// from the program's resources.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "frontend/win32/resource.h"

namespace {

// The dialog's controls, in template order, which is the tab order.
struct ControlSpec {
  int id;
  const wchar_t* class_name;
  const wchar_t* text;
  RECT units;  // x, y, x + width, y + height in dialog units
  LONG style;  // beyond WS_CHILD | WS_VISIBLE
};

const ControlSpec kControls[] = {
    {IDC_PREFIXES,
     L"Edit",
     L"",
     {7, 60, 7 + 210, 60 + 12},
     WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL},
    {IDC_CONVERT,
     L"Button",
     L"&Convert",
     {163, 80, 163 + 50, 80 + 14},
     BS_DEFPUSHBUTTON | WS_TABSTOP},
    {IDOK, L"Button", L"E&xit", {221, 80, 221 + 50, 80 + 14}, BS_PUSHBUTTON | WS_TABSTOP},
    {-1,
     L"Static",
     L"Either use Open-button to open the config file(s) for the map(s) you want to convert to "
     L"levels, or type in the level prefix (e.g. jungle). If you don't enter the full path, then "
     L"the files must be located in the same directory as the level converter.",
     {7, 7, 7 + 264, 7 + 32},
     SS_LEFT | WS_GROUP},
    {-1,
     L"Static",
     L"Output comes in the same directory where the source files are",
     {7, 44, 7 + 264, 44 + 9},
     SS_LEFT | WS_GROUP},
    {IDC_PROGRESS, L"msctls_progress32", L"Progress1", {7, 80, 7 + 148, 80 + 14}, WS_BORDER},
    {IDCANCEL, L"Button", L"&Open", {221, 59, 221 + 50, 59 + 14}, BS_PUSHBUTTON | WS_TABSTOP},
};
constexpr RECT kClientUnits = {0, 0, 278, 101};
constexpr int kFontPoints = 8;

// The dialog made from the template, with no procedure of its own: nothing
// but the dialog manager touches it.
class MadeDialog : public testing::Test {
 protected:
  void SetUp() override {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    dialog_ = CreateDialogParamW(
        GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_CONVERTER_DIALOG), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(dialog_, nullptr) << "error " << GetLastError();
  }
  void TearDown() override {
    if (dialog_ != nullptr) DestroyWindow(dialog_);
  }

  // The rectangle `units` in the dialog's client pixels.
  RECT Pixels(RECT units) const {
    MapDialogRect(dialog_, &units);
    return units;
  }
  RECT PlaceOf(HWND control) const {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&place), 2);
    return place;
  }

  HWND dialog_ = nullptr;
};

std::wstring TextOf(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  CharUpperW(name);  // class names are the same in any letter case
  return name;
}

std::wstring Upper(std::wstring text) {
  CharUpperW(text.data());
  return text;
}

std::vector<LONG> Corners(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

TEST_F(MadeDialog, IsAFixedFrameWithOnlyACloseBoxAndATaskbarButton) {
  EXPECT_EQ(TextOf(dialog_), L"ZUR level converter v1.0");
  const LONG style = GetWindowLongW(dialog_, GWL_STYLE);
  EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU), WS_POPUP | WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  const LONG ex_style = GetWindowLongW(dialog_, GWL_EXSTYLE);
  EXPECT_EQ(ex_style & WS_EX_APPWINDOW, WS_EX_APPWINDOW);
  EXPECT_EQ(ex_style & WS_EX_DLGMODALFRAME, WS_EX_DLGMODALFRAME);
  EXPECT_EQ(GetMenu(dialog_), nullptr);
  RECT client;
  GetClientRect(dialog_, &client);
  EXPECT_EQ(Corners(client), Corners(Pixels(kClientUnits)));
}

TEST_F(MadeDialog, WritesInAnUprightFontOf8Points) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW logical{};
  ASSERT_NE(GetObjectW(font, sizeof logical, &logical), 0);
  const HDC screen = GetDC(nullptr);
  const int pixels = MulDiv(kFontPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(std::abs(logical.lfHeight), pixels);
  EXPECT_FALSE(logical.lfItalic);
}

TEST_F(MadeDialog, HoldsTheSevenControlsInTabOrderWithTheirTextsAndPlaces) {
  std::size_t i = 0;
  for (HWND control = GetWindow(dialog_, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT), ++i) {
    ASSERT_LT(i, std::size(kControls)) << "more controls than the dialog has";
    const ControlSpec& want = kControls[i];
    EXPECT_EQ(GetDlgCtrlID(control), want.id) << "control " << i;
    EXPECT_EQ(ClassOf(control), Upper(want.class_name)) << "control " << i;
    EXPECT_EQ(TextOf(control), want.text) << "control " << i;
    EXPECT_EQ(GetWindowLongW(control, GWL_STYLE), WS_CHILD | WS_VISIBLE | want.style)
        << "control " << i;
    EXPECT_EQ(Corners(PlaceOf(control)), Corners(Pixels(want.units))) << "control " << i;
  }
  EXPECT_EQ(i, std::size(kControls));
}

// The tab stops: the field, Convert, Exit, Open, and round again.
TEST_F(MadeDialog, TabGoesFromTheFieldThroughConvertExitAndOpen) {
  std::vector<int> order;
  HWND at = GetDlgItem(dialog_, IDC_PREFIXES);
  for (int step = 0; step < 5 && at != nullptr; ++step) {
    order.push_back(GetDlgCtrlID(at));
    at = GetNextDlgTabItem(dialog_, at, FALSE);
  }
  EXPECT_EQ(order, (std::vector<int>{IDC_PREFIXES, IDC_CONVERT, IDOK, IDCANCEL, IDC_PREFIXES}));
}

// The icon group's directory: one entry per image, a width of 0 meaning 256.
TEST(ConverterIcon, HoldsImagesOf16To256Pixels) {
  const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_CONVERTER), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
  WORD count;
  std::memcpy(&count, directory + 4, sizeof count);
  std::vector<int> widths;
  for (WORD i = 0; i < count; ++i) {
    const BYTE width = directory[6 + 14 * i];
    widths.push_back(width == 0 ? 256 : width);
  }
  EXPECT_EQ(widths, (std::vector<int>{16, 32, 48, 256}));
}

}  // namespace
