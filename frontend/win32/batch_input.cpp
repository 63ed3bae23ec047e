// SPDX-License-Identifier: MIT
#include "batch_input.h"

zur::dialog::EventKind EventKindOf(UINT message, WPARAM wParam) {
  using zur::dialog::EventKind;
  const bool input = (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                     (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
                     (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||
                     message == WM_COMMAND || message == WM_HELP;
  if (message == WM_CLOSE || (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE)) {
    return EventKind::CloseRequest;
  }
  return input || message == WM_SYSCOMMAND ? EventKind::UserInput : EventKind::Other;
}

void RepaintDroppingInput(HWND dialog) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    const bool at_dialog = msg.hwnd == dialog || IsChild(dialog, msg.hwnd);
    if (zur::dialog::dropped_during_batch(EventKindOf(msg.message, msg.wParam), at_dialog))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}
