// SPDX-License-Identifier: MIT
// Identifiers of the converter dialog, its controls and its icon, and the
// dialog template: caption, texts and every control's place in dialog units.
// Exit and Open carry the dialog's OK and Cancel ids, so that the toolkit's
// own Escape and close handling lands on Open.
#pragma once

#include <wx/defs.h>

#include <array>

enum : int {
  IDD_CONVERTER_DIALOG = 102,
  IDI_CONVERTER = 128,
  IDC_PREFIXES = 1000,
  IDC_CONVERT = 1001,
  IDC_PROGRESS = 1002,
  IDOK = wxID_OK,          // Exit
  IDCANCEL = wxID_CANCEL,  // Open
};

inline constexpr int kDialogWidth = 278;  // dialog units
inline constexpr int kDialogHeight = 101;

inline constexpr const char* kInstructionText =
    "Either use Open-button to open the config file(s) for the map(s) you want to convert to "
    "levels, or type in the level prefix (e.g. jungle). If you don't enter the full path, then "
    "the files must be located in the same directory as the level converter.";
inline constexpr const char* kOutputText =
    "Output comes in the same directory where the source files are";

enum class ControlKind { Edit, Button, Static, Progress };

struct ControlTemplate {
  int id;  // wxID_ANY for the two texts
  ControlKind kind;
  const char* text;
  int x, y, width, height;  // dialog units
};

// In template order, which is also the tab order.
inline constexpr std::array<ControlTemplate, 7> kControls = {{
    {IDC_PREFIXES, ControlKind::Edit, "", 7, 60, 210, 12},
    {IDC_CONVERT, ControlKind::Button, "&Convert", 163, 80, 50, 14},
    {IDOK, ControlKind::Button, "E&xit", 221, 80, 50, 14},
    {wxID_ANY, ControlKind::Static, kInstructionText, 7, 7, 264, 32},
    {wxID_ANY, ControlKind::Static, kOutputText, 7, 44, 264, 9},
    {IDC_PROGRESS, ControlKind::Progress, "Progress1", 7, 80, 148, 14},
    {IDCANCEL, ControlKind::Button, "&Open", 221, 59, 50, 14},
}};
