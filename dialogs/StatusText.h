#pragma once
// The text of a dialog's status box. Worker threads and the main thread append
// lines while the main thread copies the whole text into the box, so every
// access takes the one lock of the dialog's text.
#include <cstddef>
#include <mutex>
#include <string>

class StatusText {
 public:
  // Wide characters the box holds, its terminating zero included.
  static constexpr size_t kCapacity = 0x20000;

  // Appends `text` (status lines end in CR LF). When the result would not fit,
  // the oldest whole lines go first; a text longer than the box on its own
  // keeps only its end, so the newest line is never lost.
  void Append(const std::wstring& text);

  // Calls `use` with the whole text, zero-terminated, under the lock: the copy
  // into the box must not overlap an append.
  template <typename Use>
  void Read(Use use) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    use(text_.c_str());
  }

  size_t Length() const;

 private:
  void MakeRoomFor(size_t length);

  mutable std::mutex mutex_;
  std::wstring text_;
};
