#pragma once
// The program's one diagnostic channel: the process's standard output.
//
// A line is one chain of insertions ending in std::endl:
//   DebugLog << "Packet Count: " << std::dec << count << std::endl;
// Worker threads and the main thread write at once, so the chain is collected
// first and written as one piece, under one lock, when the statement ends.
// The values are copied as they are inserted and formatted only then, so a
// chain never holds the lock while its own arguments are evaluated. While the
// log has no buffer, lines are not even collected (nor their base changes).
//
// The integer base is shared state: a writer that switches to std::hex leaves
// it so, for every thread, until another writer switches back to std::dec.
#include <atomic>
#include <functional>
#include <ios>
#include <mutex>
#include <ostream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class LogStream;

// The insertions of one statement; written when it is destroyed.
class LogLine {
 public:
  using Insertion = std::function<void(std::ostream&)>;

  // With no first insertion the line is dropped whole: the log goes nowhere.
  LogLine(LogStream& log, Insertion first);
  LogLine(const LogLine&) = delete;
  LogLine& operator=(const LogLine&) = delete;
  ~LogLine();

  template <typename T>
  LogLine& operator<<(const T& value) {
    if (active_) insertions_.push_back(InsertionOf(value));
    return *this;
  }
  LogLine& operator<<(std::ostream& (*manipulator)(std::ostream&));
  LogLine& operator<<(std::ios_base& (*manipulator)(std::ios_base&));

  // Text is copied: a pointer may not outlive the statement's temporaries.
  template <typename T>
  static Insertion InsertionOf(const T& value) {
    if constexpr (std::is_convertible_v<const T&, const char*>) {
      return [text = std::string(value)](std::ostream& out) { out << text; };
    } else {
      return [value](std::ostream& out) { out << value; };
    }
  }

 private:
  LogStream& log_;
  const bool active_;
  std::vector<Insertion> insertions_;
};

class LogStream {
 public:
  explicit LogStream(std::ostream& out) : out_(out) {}
  LogStream(const LogStream&) = delete;
  LogStream& operator=(const LogStream&) = delete;

  template <typename T>
  LogLine operator<<(const T& value) {
    return LogLine(*this, HasBuffer() ? LogLine::InsertionOf(value) : LogLine::Insertion());
  }
  LogLine operator<<(std::ostream& (*manipulator)(std::ostream&));
  LogLine operator<<(std::ios_base& (*manipulator)(std::ios_base&));

  // Writes `insertions` to the stream without another line in between.
  void Write(const std::vector<LogLine::Insertion>& insertions);
  // False while the log goes nowhere: lines are then not even collected.
  bool HasBuffer() const { return hasBuffer_; }

  // The stream's own settings, for the program's entries and for tests that
  // silence or capture the log. A null buffer drops every line.
  std::streambuf* rdbuf(std::streambuf* buffer);
  std::ios_base::fmtflags flags() const;
  void flags(std::ios_base::fmtflags flags);
  void imbue(const std::locale& locale);

 private:
  std::ostream& out_;
  mutable std::mutex mutex_;
  std::atomic<bool> hasBuffer_{true};
};

extern LogStream DebugLog;

// Sends DebugLog to `buffer` (null: nowhere) while it lives; the buffer and the
// shared format state are put back on the way out.
class RedirectedDebugLog {
 public:
  explicit RedirectedDebugLog(std::streambuf* buffer = nullptr)
      : saved_(DebugLog.rdbuf(buffer)), savedFlags_(DebugLog.flags()) {}
  ~RedirectedDebugLog() {
    DebugLog.rdbuf(saved_);
    DebugLog.flags(savedFlags_);
  }
  RedirectedDebugLog(const RedirectedDebugLog&) = delete;
  RedirectedDebugLog& operator=(const RedirectedDebugLog&) = delete;

 private:
  std::streambuf* saved_;
  std::ios_base::fmtflags savedFlags_;
};

// Makes floating-point text on DebugLog use the program's number form
// (classic locale, three exponent digits). Called once by each entry point.
// The log is narrow text: a wide text with every character past ASCII as '?'.
std::string LogText(const std::wstring& text);

void InitDebugLog();
