#pragma once
// Where the keyboard focus goes while a dialog's jobs disable and enable its
// controls. A disabled control would take the focus with it, and a dialog
// whose focus is nowhere answers no Tab, Escape or Enter: so the focus moves
// to a control that is never disabled (the status box) first, and goes back
// to the control it came from once that is enabled again, or at the end of
// the job to the first control that can take it.
// Controls are named by their ids; 0 is none.
#include <optional>

class FocusRule {
 public:
  explicit FocusRule(int parkingId) : parkingId_(parkingId) {}

  // `id` is about to be disabled while `focusedId` holds the focus: the
  // control to give the focus to first.
  std::optional<int> BeforeDisable(int id, int focusedId);
  // `id` was enabled while `focusedId` holds the focus: the control to give
  // the focus back to.
  std::optional<int> AfterEnable(int id, int focusedId);
  // A job ended. `cameFromEnabled`: the control the focus was taken from is
  // enabled; `firstFocusableId`: the first control in tab order that can take
  // the focus now.
  std::optional<int> AfterJob(int focusedId, bool cameFromEnabled, int firstFocusableId);

  // The control the focus was taken from while it waits in the parking
  // control; 0 when it is not waiting.
  int CameFrom() const { return cameFrom_; }

 private:
  // The focus left the parking control by other means (the user moved it).
  bool StillParked(int focusedId);

  int parkingId_;
  int cameFrom_ = 0;
};
