#pragma once
// What a present has to copy: the part of the back surface drawn since the
// screen last got all of it, or all of it when that is not known (after
// anything but a live frame, or a present that stretched the picture).
#include <windows.h>

class PendingPresent {
 public:
  void AddWhole() { whole_ = true; }
  void Add(const RECT& area) { UnionRect(&area_, &area_, &area); }
  // The screen shows the back surface as it is, unstretched.
  void Presented() {
    whole_ = false;
    area_ = {};
  }
  bool Whole() const { return whole_; }
  const RECT& Area() const { return area_; }

 private:
  bool whole_ = true;
  RECT area_{};
};
