// SPDX-License-Identifier: MIT
#include "batch_input.h"

#include <wx/eventfilter.h>
#include <wx/evtloop.h>

#include "../batch_input_rule.h"

namespace {

// Registered for its lifetime. Claims the dropped events as handled, so that
// the native controls do not act on them either.
class InputDropper : public wxEventFilter {
 public:
  explicit InputDropper(wxWindow& dialog) : dialog_(dialog) { wxEvtHandler::AddFilter(this); }
  ~InputDropper() override { wxEvtHandler::RemoveFilter(this); }

  int FilterEvent(wxEvent& event) override {
    using zur::dialog::EventKind;
    const EventKind kind = event.GetEventType() == wxEVT_CLOSE_WINDOW ? EventKind::CloseRequest
                           : event.GetEventCategory() == wxEVT_CATEGORY_USER_INPUT
                               ? EventKind::UserInput
                               : EventKind::Other;
    auto* target = wxDynamicCast(event.GetEventObject(), wxWindow);
    const bool at_dialog = target != nullptr && wxGetTopLevelParent(target) == &dialog_;
    return zur::dialog::dropped_during_batch(kind, at_dialog) ? Event_Processed : Event_Skip;
  }

 private:
  wxWindow& dialog_;
};

}  // namespace

// Input is dispatched, into the filter, rather than held back: the toolkit
// would queue held-back input again, and a message box shown later would
// receive the keys typed into the busy dialog.
void RepaintDroppingInput(wxWindow& dialog) {
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  if (loop == nullptr) return;
  InputDropper dropper(dialog);
  loop->YieldFor(wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT);
}
