// SPDX-License-Identifier: MIT
// What the converter dialog takes while a conversion batch runs, whatever
// toolkit draws it. The batch runs on the dialog's own thread; the dialog
// lets the toolkit run only to repaint it, to keep it alive during a long
// pass and to show its message boxes. Input that reached the dialog
// meanwhile is dropped, never handled inside the batch nor, stale, after
// it: a close request during a conversion must not open the picker.
#pragma once

namespace zur::dialog {

enum class EventKind {
  UserInput,     // keys, clicks, the mouse wheel
  CloseRequest,  // the close box, the window menu's Close, Alt+F4
  Other,         // painting, layout, timers
};

// `aimed_at_dialog`: the event's window is the dialog or one of its
// controls, not a message box the batch shows.
constexpr bool dropped_during_batch(EventKind kind, bool aimed_at_dialog) {
  return aimed_at_dialog && kind != EventKind::Other;
}

}  // namespace zur::dialog
