#pragma once
// The text of a dialog's status box. Worker threads and the main thread append
// lines while the main thread brings the box up to date, so every access takes
// the one lock of the dialog's text.
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

// A stretch of status text in positions counted over every character ever
// appended, so that a box can tell what it lacks from what it shows.
struct StatusRange {
  uint64_t begin = 0;  // characters dropped before it
  uint64_t end = 0;    // characters appended up to its end

  bool operator==(const StatusRange& other) const { return begin == other.begin && end == other.end; }
};

// How a box that shows one range becomes the text now: either mended, losing
// `dropped` characters at its start and gaining `text` at its end, or, when
// it holds text that is gone or text the status never had, given `text` whole.
// A copy, so that the box is changed without holding up the text's writers.
struct StatusChange {
  StatusRange range;  // where the text now lies
  bool mendable = false;
  size_t dropped = 0;
  std::wstring text;

  size_t Length() const { return static_cast<size_t>(range.end - range.begin); }
};

class StatusText {
 public:
  // Wide characters the box holds, its terminating zero included.
  static constexpr size_t kCapacity = 0x20000;

  // Appends `text` (status lines end in CR LF). When the result would not fit,
  // the oldest whole lines go first; a text longer than the box on its own
  // keeps only its end, so the newest line is never lost.
  void Append(const std::wstring& text);

  // What a box that shows `shown` lacks.
  StatusChange ChangeSince(const StatusRange& shown) const;
  // The whole text, as a change for a box that shows nothing of it.
  StatusChange Whole() const;

  size_t Length() const;

 private:
  void MakeRoomFor(size_t length);
  void DropFront(size_t characters);
  StatusRange RangeLocked() const;

  mutable std::mutex mutex_;
  std::wstring text_;
  uint64_t dropped_ = 0;  // characters ever dropped from the start
};
