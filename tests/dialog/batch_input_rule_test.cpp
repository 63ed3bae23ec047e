// SPDX-License-Identifier: MIT
#include "frontend/batch_input_rule.h"

#include <gtest/gtest.h>

namespace zur::dialog {
namespace {

TEST(BatchInputRule, DropsOnlyInputAndCloseRequestsAimedAtTheDialog) {
  const struct {
    EventKind kind;
    bool aimed_at_dialog, dropped;
  } cases[] = {
      {EventKind::UserInput, true, true},      {EventKind::CloseRequest, true, true},
      {EventKind::Other, true, false},         {EventKind::UserInput, false, false},
      {EventKind::CloseRequest, false, false}, {EventKind::Other, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(dropped_during_batch(c.kind, c.aimed_at_dialog), c.dropped)
        << static_cast<int>(c.kind) << ", " << c.aimed_at_dialog;
  }
}

}  // namespace
}  // namespace zur::dialog
