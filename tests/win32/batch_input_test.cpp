// SPDX-License-Identifier: MIT
#include "frontend/win32/batch_input.h"

#include <gtest/gtest.h>

namespace {

using zur::dialog::EventKind;

TEST(EventKindOf, TellsInputAndCloseRequestsFromTheRest) {
  const struct {
    UINT message;
    WPARAM wParam;
    EventKind kind;
  } cases[] = {
      {WM_KEYDOWN, VK_RETURN, EventKind::UserInput},
      {WM_CHAR, L'x', EventKind::UserInput},
      {WM_SYSKEYDOWN, VK_F4, EventKind::UserInput},
      {WM_LBUTTONDOWN, 0, EventKind::UserInput},
      {WM_MOUSEWHEEL, 0, EventKind::UserInput},
      {WM_NCLBUTTONDOWN, HTCLOSE, EventKind::UserInput},
      {WM_COMMAND, IDCANCEL, EventKind::UserInput},
      {WM_HELP, 0, EventKind::UserInput},
      {WM_SYSCOMMAND, SC_KEYMENU, EventKind::UserInput},
      {WM_SYSCOMMAND, SC_CLOSE, EventKind::CloseRequest},
      {WM_SYSCOMMAND, SC_CLOSE | 2, EventKind::CloseRequest},
      {WM_CLOSE, 0, EventKind::CloseRequest},
      {WM_PAINT, 0, EventKind::Other},
      {WM_TIMER, 0, EventKind::Other},
      {WM_SETFOCUS, 0, EventKind::Other},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EventKindOf(c.message, c.wParam), c.kind) << "message " << c.message;
  }
}

}  // namespace
