// SPDX-License-Identifier: MIT
#include "frontend/win32/message_box.h"

#include <gtest/gtest.h>

namespace {

using zur::Icon;
using zur::dialog::message_box_kind;
using zur::dialog::question_box_kind;

TEST(MessageBoxStyle, GivesOkOrYesNoWithYesTheDefaultAndTheIconAsked) {
  const struct {
    zur::dialog::BoxKind kind;
    UINT style;
  } cases[] = {
      {message_box_kind(Icon::None), MB_OK},
      {message_box_kind(Icon::Error), MB_OK | MB_ICONERROR},
      {message_box_kind(Icon::Information), MB_OK | MB_ICONINFORMATION},
      {question_box_kind(Icon::None), MB_YESNO | MB_DEFBUTTON1},
      {question_box_kind(Icon::Error), MB_YESNO | MB_DEFBUTTON1 | MB_ICONERROR},
      {question_box_kind(Icon::Information), MB_YESNO | MB_DEFBUTTON1 | MB_ICONINFORMATION},
  };
  for (const auto& c : cases) EXPECT_EQ(MessageBoxStyle(c.kind), c.style) << c.style;
}

}  // namespace
