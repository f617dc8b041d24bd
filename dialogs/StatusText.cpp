#include "dialogs/StatusText.h"

namespace {

constexpr size_t kMostCharacters = StatusText::kCapacity - 1;

}  // namespace

void StatusText::Append(const std::wstring& text) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (text.size() >= kMostCharacters) {
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
  text_.erase(0, lineEnd == std::wstring::npos ? text_.size() : lineEnd + 1);
}
