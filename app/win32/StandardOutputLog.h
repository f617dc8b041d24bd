#pragma once
// The diagnostic log's way to the process's standard output: straight to the
// handle with WriteFile, each line end written as CR LF as the C runtime's
// text mode writes it. Through the C runtime, a line flushed to a character
// device (a terminal, or /dev/null under Wine) costs about 2 ms, which a
// download's log of some 40,000 lines turns into seconds; WriteFile costs
// about a microsecond.
#include <windows.h>

#include <streambuf>
#include <string>

class StandardOutputBuffer : public std::streambuf {
 public:
  explicit StandardOutputBuffer(HANDLE output) : output_(output) {}

 protected:
  int_type overflow(int_type character) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  // Writes what was put since the last sync; -1 when the write fails.
  int sync() override;

 private:
  HANDLE output_;  // the process's; not ours to close
  std::string pending_;
};

// From now on DebugLog writes to the process's standard output through a
// StandardOutputBuffer; with no standard output it drops every line.
void SendDebugLogToStandardOutput();
