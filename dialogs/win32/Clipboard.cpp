#include "dialogs/win32/Clipboard.h"

#include <cstring>

namespace {

// The clipboard, open for the life of the object.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

// Moveable memory that is ours until the clipboard takes it.
class GlobalMemory {
 public:
  explicit GlobalMemory(size_t bytes) : memory_(GlobalAlloc(GMEM_MOVEABLE, bytes)) {}
  ~GlobalMemory() {
    if (memory_) GlobalFree(memory_);
  }
  GlobalMemory(const GlobalMemory&) = delete;
  GlobalMemory& operator=(const GlobalMemory&) = delete;

  HGLOBAL Get() const { return memory_; }
  HGLOBAL Release() {
    const HGLOBAL memory = memory_;
    memory_ = nullptr;
    return memory;
  }

 private:
  HGLOBAL memory_;
};

bool CopyInto(HGLOBAL memory, const std::wstring& text) {
  void* bytes = GlobalLock(memory);
  if (bytes == nullptr) return false;
  std::memcpy(bytes, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  return true;
}

}  // namespace

// The text is made ready before the clipboard is emptied: a failure leaves its content.
bool PutTextOnClipboard(HWND owner, const std::wstring& text) {
  GlobalMemory memory((text.size() + 1) * sizeof(wchar_t));
  if (!memory.Get() || !CopyInto(memory.Get(), text)) return false;
  const OpenClipboardScope clipboard(owner);
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  if (!SetClipboardData(CF_UNICODETEXT, memory.Get())) return false;
  memory.Release();  // the clipboard's now
  return true;
}
