#include "app/win32/StandardOutputLog.h"

#include "base/DebugLog.h"

StandardOutputBuffer::int_type StandardOutputBuffer::overflow(int_type character) {
  if (traits_type::eq_int_type(character, traits_type::eof())) return traits_type::not_eof(character);
  const char text = traits_type::to_char_type(character);
  xsputn(&text, 1);
  return character;
}

std::streamsize StandardOutputBuffer::xsputn(const char* text, std::streamsize count) {
  for (std::streamsize i = 0; i < count; ++i) {
    if (text[i] == '\n') pending_ += '\r';
    pending_ += text[i];
  }
  return count;
}

int StandardOutputBuffer::sync() {
  if (pending_.empty()) return 0;
  DWORD written = 0;
  const bool whole = WriteFile(output_, pending_.data(), static_cast<DWORD>(pending_.size()), &written, nullptr) &&
                     written == pending_.size();
  pending_.clear();
  return whole ? 0 : -1;
}

void SendDebugLogToStandardOutput() {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == nullptr || output == INVALID_HANDLE_VALUE) {
    DebugLog.rdbuf(nullptr);
    return;
  }
  // Never destroyed: a line may still be written while statics go.
  static StandardOutputBuffer* const buffer = new StandardOutputBuffer(output);
  DebugLog.rdbuf(buffer);
}
