#include "dialogs/FocusRule.h"

std::optional<int> FocusRule::BeforeDisable(int id, int focusedId) {
  if (id != focusedId || id == parkingId_) return std::nullopt;
  cameFrom_ = id;
  return parkingId_;
}

std::optional<int> FocusRule::AfterEnable(int id, int focusedId) {
  if (!StillParked(focusedId) || id != cameFrom_) return std::nullopt;
  cameFrom_ = 0;
  return id;
}

std::optional<int> FocusRule::AfterJob(int focusedId, bool cameFromEnabled, int firstFocusableId) {
  if (!StillParked(focusedId)) return std::nullopt;
  const int target = cameFromEnabled ? cameFrom_ : firstFocusableId;
  cameFrom_ = 0;
  if (target == 0 || target == focusedId) return std::nullopt;
  return target;
}

bool FocusRule::StillParked(int focusedId) {
  if (cameFrom_ != 0 && focusedId != parkingId_) cameFrom_ = 0;
  return cameFrom_ != 0;
}
