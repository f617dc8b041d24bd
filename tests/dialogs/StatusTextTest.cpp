#include "dialogs/StatusText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring TextOf(const StatusText& status) {
  std::wstring text;
  status.Read([&text](const wchar_t* whole) { text = whole; });
  return text;
}

// "Packet Read: n" lines, each ending in CR LF, until `characters` are written.
void FillWithLines(StatusText& status, size_t characters) {
  for (int n = 0; status.Length() < characters; ++n) status.Append(L"Packet Read: " + std::to_wstring(n) + L"\r\n");
}

TEST(StatusText, KeepsLinesInTheOrderAppended) {
  StatusText status;
  status.Append(L"Device Connected.\r\n");
  status.Append(L"Current device firmware version: 1.41\r\n");
  EXPECT_EQ(L"Device Connected.\r\nCurrent device firmware version: 1.41\r\n", TextOf(status));
}

TEST(StatusText, AFullBoxDropsitsOldestWholeLinesAndKeepsTheNewest) {
  StatusText status;
  FillWithLines(status, StatusText::kCapacity - 20);
  const std::wstring newest = L"Data read successfully.\r\nPackets Read: 128\r\n";
  status.Append(newest);
  const std::wstring text = TextOf(status);
  EXPECT_LT(text.size(), StatusText::kCapacity);
  EXPECT_EQ(0u, text.rfind(L"Packet Read: ", 0)) << "starts at a whole line";
  EXPECT_EQ(newest, text.substr(text.size() - newest.size()));
  EXPECT_EQ(std::wstring::npos, text.find(L"Packet Read: 0\r\n")) << "the oldest line went first";
}

TEST(StatusText, ATextLongerThanTheBoxKeepsItsEnd) {
  StatusText status;
  status.Append(L"first\r\n");
  std::wstring huge(StatusText::kCapacity + 100, L'x');
  huge += L"\r\nlast\r\n";
  status.Append(huge);
  const std::wstring text = TextOf(status);
  EXPECT_EQ(StatusText::kCapacity - 1, text.size());
  EXPECT_EQ(L"last\r\n", text.substr(text.size() - 6));
}

// The box holds kCapacity - 1 characters before its terminating zero.
TEST(StatusText, TextThatFillsTheBoxExactlyDropsNoMoreThanItMust) {
  const size_t room = StatusText::kCapacity - 1;
  StatusText together;
  together.Append(L"first\r\n");
  const std::wstring rest = std::wstring(room - 9, L'r') + L"\r\n";
  together.Append(rest);
  EXPECT_TRUE(TextOf(together) == L"first\r\n" + rest) << "both fit: nothing dropped";

  StatusText alone;
  alone.Append(L"first\r\n");
  const std::wstring whole = std::wstring(room - 2, L'w') + L"\r\n";
  alone.Append(whole);
  EXPECT_TRUE(TextOf(alone) == whole) << "a line as long as the box keeps nothing else";
}

TEST(StatusText, ADropEndingAtALineEndTakesNoFurtherLine) {
  const std::wstring first = L"first\r\n";
  const std::wstring second = L"second\r\n";
  StatusText status;
  status.Append(first);
  status.Append(second);
  FillWithLines(status, StatusText::kCapacity - 100);
  status.Append(std::wstring(StatusText::kCapacity - 1 - status.Length() - 2, L'f') + L"\r\n");  // full
  status.Append(L"after\r\n");  // exactly as long as the first line
  const std::wstring text = TextOf(status);
  EXPECT_EQ(0u, text.rfind(second, 0)) << text.substr(0, 20);
  EXPECT_EQ(StatusText::kCapacity - 1, text.size());
}

TEST(StatusText, ALineWithoutALineEndIsDroppedWholeWhenItMustGo) {
  StatusText status;
  status.Append(std::wstring(StatusText::kCapacity - 10, L'y'));
  status.Append(L"newest line\r\n");
  EXPECT_EQ(L"newest line\r\n", TextOf(status));
}

}  // namespace
