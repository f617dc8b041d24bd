// The log's way to standard output: whole lines reach the handle as each is
// flushed, line ends as CR LF, and a handle that fails stops the log quietly.
#include "app/win32/StandardOutputLog.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

// An anonymous pipe; what was written can be read back without closing it.
class Pipe {
 public:
  Pipe() { CreatePipe(&read_, &write_, nullptr, 1 << 16); }
  ~Pipe() {
    if (write_) CloseHandle(write_);
    if (read_) CloseHandle(read_);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  HANDLE WriteEnd() const { return write_; }
  std::string Available() const {
    DWORD bytes = 0;
    if (!PeekNamedPipe(read_, nullptr, 0, nullptr, &bytes, nullptr) || bytes == 0) return "";
    std::string text(bytes, '\0');
    DWORD read = 0;
    ReadFile(read_, &text[0], bytes, &read, nullptr);
    text.resize(read);
    return text;
  }

 private:
  HANDLE read_ = nullptr;
  HANDLE write_ = nullptr;
};

TEST(StandardOutputLog, EachFlushedLineReachesTheHandleEndingInCrLf) {
  Pipe pipe;
  StandardOutputBuffer buffer(pipe.WriteEnd());
  std::ostream out(&buffer);
  out << "- ZEL USB -" << std::endl << std::endl;
  EXPECT_EQ("- ZEL USB -\r\n\r\n", pipe.Available());
  out << "Code: [" << std::hex << 5 << "]";
  EXPECT_EQ("", pipe.Available()) << "nothing before the line is flushed";
  out << std::endl;
  EXPECT_EQ("Code: [5]\r\n", pipe.Available());
  out << "two\nlines" << std::flush;
  EXPECT_EQ("two\r\nlines", pipe.Available());
  EXPECT_TRUE(out.good());
}

TEST(StandardOutputLog, AWriteThatFailsLeavesTheStreamFailed) {
  StandardOutputBuffer closed(INVALID_HANDLE_VALUE);
  std::ostream out(&closed);
  out << "lost" << std::endl;
  EXPECT_FALSE(out.good());
  out << "and ignored" << std::endl;  // does nothing, throws nothing
}

}  // namespace
