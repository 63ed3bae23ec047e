// SPDX-License-Identifier: MIT
// The dialog template and the icon group as the resource compiler stored
// them in the program's resources, read field by field.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "frontend/win32/resource.h"

namespace {

// A control's class: an atom of a system class or a name.
constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82;

struct Control {
  DWORD help_id, ex_style, style;
  short x, y, width, height;
  DWORD id;
  WORD class_atom;  // 0 when the class is named
  std::wstring class_name, text;
};

struct DialogTemplate {
  DWORD help_id, ex_style, style;
  short x, y, width, height;
  WORD menu, window_class;
  std::wstring title;
  WORD point_size, weight;
  BYTE italic, charset;
  std::wstring typeface;
  std::vector<Control> controls;
};

// Reads the extended dialog template's fields in their order, each
// field's alignment as the format has it.
class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* bytes) : start_(bytes), at_(bytes) {}

  template <typename T>
  T Read() {
    T value;
    std::memcpy(&value, at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  std::wstring ReadText() {
    std::wstring text;
    for (WORD c; (c = Read<WORD>()) != 0;) text.push_back(static_cast<wchar_t>(c));
    return text;
  }
  // A class, menu or title field: 0xFFFF and an ordinal, or a text.
  WORD ReadOrdinalOr(std::wstring& name) {
    if (Peek() == 0xFFFF) {
      Read<WORD>();
      return Read<WORD>();
    }
    name = ReadText();
    return 0;
  }
  void AlignTo(std::size_t bytes) {
    while ((at_ - start_) % bytes != 0) ++at_;
  }
  void Skip(std::size_t bytes) { at_ += bytes; }

 private:
  WORD Peek() const {
    WORD value;
    std::memcpy(&value, at_, sizeof value);
    return value;
  }
  const BYTE* start_;
  const BYTE* at_;
};

// Class names are the same in any letter case.
std::wstring Upper(std::wstring text) {
  CharUpperW(text.data());
  return text;
}

DialogTemplate LoadDialogTemplate() {
  const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_CONVERTER_DIALOG), RT_DIALOG);
  if (found == nullptr) return {};
  TemplateReader in(static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))));
  DialogTemplate dialog{};
  EXPECT_EQ(in.Read<WORD>(), 1);       // version
  EXPECT_EQ(in.Read<WORD>(), 0xFFFF);  // the extended template's signature
  dialog.help_id = in.Read<DWORD>();
  dialog.ex_style = in.Read<DWORD>();
  dialog.style = in.Read<DWORD>();
  const WORD count = in.Read<WORD>();
  dialog.x = in.Read<short>();
  dialog.y = in.Read<short>();
  dialog.width = in.Read<short>();
  dialog.height = in.Read<short>();
  std::wstring name;
  dialog.menu = in.ReadOrdinalOr(name);
  dialog.window_class = in.ReadOrdinalOr(name);
  dialog.title = in.ReadText();
  dialog.point_size = in.Read<WORD>();
  dialog.weight = in.Read<WORD>();
  dialog.italic = in.Read<BYTE>();
  dialog.charset = in.Read<BYTE>();
  dialog.typeface = in.ReadText();
  for (WORD i = 0; i < count; ++i) {
    in.AlignTo(sizeof(DWORD));
    Control control{};
    control.help_id = in.Read<DWORD>();
    control.ex_style = in.Read<DWORD>();
    control.style = in.Read<DWORD>();
    control.x = in.Read<short>();
    control.y = in.Read<short>();
    control.width = in.Read<short>();
    control.height = in.Read<short>();
    control.id = in.Read<DWORD>();
    control.class_atom = in.ReadOrdinalOr(control.class_name);
    in.ReadOrdinalOr(control.text);
    in.Skip(in.Read<WORD>());  // creation data
    dialog.controls.push_back(control);
  }
  return dialog;
}

TEST(ConverterDialogTemplate, IsACentredFixedFrameWithOnlyACloseBoxAndATaskbarButton) {
  const DialogTemplate dialog = LoadDialogTemplate();
  EXPECT_EQ(dialog.title, L"ZUR level converter v1.0");
  EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                             DS_MODALFRAME | DS_SETFONT | DS_CENTER));
  EXPECT_EQ(dialog.ex_style, static_cast<DWORD>(WS_EX_APPWINDOW));
  EXPECT_EQ(dialog.help_id, 0u);
  EXPECT_EQ(dialog.x, 0);
  EXPECT_EQ(dialog.y, 0);
  EXPECT_EQ(dialog.width, 278);
  EXPECT_EQ(dialog.height, 101);
  EXPECT_EQ(dialog.menu, 0);
  EXPECT_EQ(dialog.window_class, 0);
}

TEST(ConverterDialogTemplate, UsesTheShellDialogFontAt8Points) {
  const DialogTemplate dialog = LoadDialogTemplate();
  EXPECT_EQ(dialog.typeface, L"MS Shell Dlg");
  EXPECT_EQ(dialog.point_size, 8);
  EXPECT_EQ(dialog.weight, 0);
  EXPECT_EQ(dialog.italic, 0);
  EXPECT_EQ(dialog.charset, DEFAULT_CHARSET);
}

// In template order, which is the tab order.
TEST(ConverterDialogTemplate, HoldsTheSevenControlsInTabOrder) {
  const struct {
    DWORD id;
    WORD class_atom;
    const wchar_t* class_name;
    const wchar_t* text;
    short x, y, width, height;
    DWORD style;  // beyond WS_CHILD | WS_VISIBLE
  } controls[] = {
      {IDC_PREFIXES, kEdit, L"", L"", 7, 60, 210, 12,
       WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL},
      {IDC_CONVERT, kButton, L"", L"&Convert", 163, 80, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
      {IDOK, kButton, L"", L"E&xit", 221, 80, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
      {0xFFFFFFFF, kStatic, L"",
       L"Either use Open-button to open the config file(s) for the map(s) you want to convert "
       L"to levels, or type in the level prefix (e.g. jungle). If you don't enter the full path, "
       L"then the files must be located in the same directory as the level converter.",
       7, 7, 264, 32, SS_LEFT | WS_GROUP},
      {0xFFFFFFFF, kStatic, L"", L"Output comes in the same directory where the source files are",
       7, 44, 264, 9, SS_LEFT | WS_GROUP},
      {IDC_PROGRESS, 0, L"msctls_progress32", L"Progress1", 7, 80, 148, 14, WS_BORDER},
      {IDCANCEL, kButton, L"", L"&Open", 221, 59, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
  };
  const DialogTemplate dialog = LoadDialogTemplate();
  ASSERT_EQ(dialog.controls.size(), std::size(controls));
  for (std::size_t i = 0; i < std::size(controls); ++i) {
    const auto& want = controls[i];
    const Control& got = dialog.controls[i];
    EXPECT_EQ(got.id, want.id) << "control " << i;
    EXPECT_EQ(got.class_atom, want.class_atom) << "control " << i;
    EXPECT_EQ(Upper(got.class_name), Upper(want.class_name)) << "control " << i;
    EXPECT_EQ(got.text, want.text) << "control " << i;
    EXPECT_EQ(got.style, WS_CHILD | WS_VISIBLE | want.style) << "control " << i;
    EXPECT_EQ(got.ex_style, 0u) << "control " << i;
    EXPECT_EQ(got.help_id, 0u) << "control " << i;
    EXPECT_EQ((std::vector<short>{got.x, got.y, got.width, got.height}),
              (std::vector<short>{want.x, want.y, want.width, want.height}))
        << "control " << i;
  }
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
