#include "base/DebugLog.h"

#include <cstdint>
#include <iostream>

#include "base/NumberText.h"

LogStream DebugLog(std::cout);

std::string LogText(const std::wstring& text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (wchar_t c : text) narrow += static_cast<uint32_t>(c) < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

void InitDebugLog() { DebugLog.imbue(NumberTextLocale()); }

LogLine::LogLine(LogStream& log, Insertion first) : log_(log), active_(static_cast<bool>(first)) {
  if (!active_) return;
  insertions_.reserve(8);
  insertions_.push_back(std::move(first));
}

LogLine::~LogLine() {
  if (active_) log_.Write(insertions_);
}

LogLine& LogLine::operator<<(std::ostream& (*manipulator)(std::ostream&)) {
  if (active_) insertions_.push_back([manipulator](std::ostream& out) { manipulator(out); });
  return *this;
}

LogLine& LogLine::operator<<(std::ios_base& (*manipulator)(std::ios_base&)) {
  if (active_) insertions_.push_back([manipulator](std::ostream& out) { manipulator(out); });
  return *this;
}

LogLine LogStream::operator<<(std::ostream& (*manipulator)(std::ostream&)) {
  if (!HasBuffer()) return LogLine(*this, LogLine::Insertion());
  return LogLine(*this, [manipulator](std::ostream& out) { manipulator(out); });
}

LogLine LogStream::operator<<(std::ios_base& (*manipulator)(std::ios_base&)) {
  if (!HasBuffer()) return LogLine(*this, LogLine::Insertion());
  return LogLine(*this, [manipulator](std::ostream& out) { manipulator(out); });
}

void LogStream::Write(const std::vector<LogLine::Insertion>& insertions) {
  const std::lock_guard<std::mutex> lock(mutex_);
  for (const LogLine::Insertion& insert : insertions) insert(out_);
}

std::streambuf* LogStream::rdbuf(std::streambuf* buffer) {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::streambuf* previous = out_.rdbuf(buffer);
  if (buffer != nullptr) out_.clear();
  hasBuffer_ = buffer != nullptr;
  return previous;
}

std::ios_base::fmtflags LogStream::flags() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return out_.flags();
}

void LogStream::flags(std::ios_base::fmtflags flags) {
  const std::lock_guard<std::mutex> lock(mutex_);
  out_.flags(flags);
}

void LogStream::imbue(const std::locale& locale) {
  const std::lock_guard<std::mutex> lock(mutex_);
  out_.imbue(locale);
}
