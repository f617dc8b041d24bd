#pragma once
// One program at a time in a user's session: two would compete for one
// altimeter. A second start hands the file it was started with to the
// running program, which comes to the front and opens it, and ends.
#include <windows.h>

#include "device/win32/Win32Handle.h"

class SingleProgram {
 public:
  // Claims the session's program, or hands `commandLine`'s file to the
  // program that holds it.
  explicit SingleProgram(const wchar_t* commandLine);
  // Lets the next start be the program.
  ~SingleProgram();
  SingleProgram(const SingleProgram&) = delete;
  SingleProgram& operator=(const SingleProgram&) = delete;

  // This start is the program; false when it handed over (or found a
  // program that took nothing) and must end.
  bool IsFirst() const { return owned_; }

 private:
  UniqueHandle claim_;
  bool owned_ = false;
};
