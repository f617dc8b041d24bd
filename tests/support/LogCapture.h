#pragma once
// Captures what DebugLog receives while the object lives; the stream's format
// state (the shared integer base) is restored on the way out.
#include <sstream>
#include <string>

#include "base/DebugLog.h"

class LogCapture {
 public:
  LogCapture() : redirected_(captured_.rdbuf()) {}
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  std::string Text() const { return captured_.str(); }
  bool Contains(const std::string& line) const { return Text().find(line) != std::string::npos; }

 private:
  std::ostringstream captured_;
  RedirectedDebugLog redirected_;
};
