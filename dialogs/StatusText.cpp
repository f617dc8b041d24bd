#include "dialogs/StatusText.h"

namespace {

constexpr size_t kMostCharacters = StatusText::kCapacity - 1;

}  // namespace

void StatusText::Append(const std::wstring& text) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (text.size() >= kMostCharacters) {
    dropped_ += text_.size() + (text.size() - kMostCharacters);
    text_.assign(text, text.size() - kMostCharacters, kMostCharacters);
    return;
  }
  MakeRoomFor(text.size());
  text_ += text;
}

size_t StatusText::Length() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return text_.size();
}

void StatusText::MakeRoomFor(size_t length) {
  if (text_.size() + length <= kMostCharacters) return;
  const size_t mustGo = text_.size() + length - kMostCharacters;
  // Cut after the line end that frees enough room, so only whole lines go.
  const size_t lineEnd = text_.find(L'\n', mustGo - 1);
  DropFront(lineEnd == std::wstring::npos ? text_.size() : lineEnd + 1);
}

void StatusText::DropFront(size_t characters) {
  text_.erase(0, characters);
  dropped_ += characters;
}

StatusRange StatusText::RangeLocked() const { return {dropped_, dropped_ + text_.size()}; }

StatusChange StatusText::ChangeSince(const StatusRange& shown) const {
  const std::lock_guard<std::mutex> lock(mutex_);
  StatusChange change;
  change.range = RangeLocked();
  // Mendable when the box starts no later than the text and ends within it.
  change.mendable =
      shown.begin <= change.range.begin && change.range.begin <= shown.end && shown.end <= change.range.end;
  if (change.mendable) {
    change.dropped = static_cast<size_t>(change.range.begin - shown.begin);
    change.text = text_.substr(static_cast<size_t>(shown.end - change.range.begin));
  } else {
    change.text = text_;
  }
  return change;
}

StatusChange StatusText::Whole() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  StatusChange change;
  change.range = RangeLocked();
  change.text = text_;
  return change;
}
