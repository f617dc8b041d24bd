#include "dialogs/StatusText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

std::wstring TextOf(const StatusText& status) { return status.Whole().text; }

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

// A box as the dialog keeps one: its text and the range it shows, brought
// up to date from each change read.
struct ModelBox {
  std::wstring text;
  StatusRange shown;
  int wholeCopies = 0;

  void Refresh(const StatusText& status) {
    const StatusChange change = status.ChangeSince(shown);
    if (change.mendable) {
      ASSERT_LE(change.dropped, text.size());
      text.erase(0, change.dropped);
      text += change.text;
    } else {
      text = change.text;
      ++wholeCopies;
    }
    shown = change.range;
  }
};

TEST(StatusTextChange, PositionsCountEveryCharacterEverAppended) {
  StatusText status;
  EXPECT_TRUE(status.ChangeSince({}).range == (StatusRange{0, 0}));
  uint64_t appended = 0;
  for (int n = 0; appended < 3 * StatusText::kCapacity; ++n) {
    const std::wstring line = L"Packet Read: " + std::to_wstring(n) + L"\r\n";
    status.Append(line);
    appended += line.size();
  }
  const StatusRange range = status.ChangeSince({}).range;
  EXPECT_EQ(appended, range.end);
  EXPECT_EQ(status.Length(), range.end - range.begin) << "the dropped characters come before the text";

  const std::wstring huge(StatusText::kCapacity + 5, L'h');
  status.Append(huge);
  EXPECT_EQ(appended + huge.size(), status.ChangeSince({}).range.end) << "a line longer than the box counts whole";
  EXPECT_EQ(appended + huge.size() - (StatusText::kCapacity - 1), status.ChangeSince({}).range.begin);
}

TEST(StatusTextChange, TellsABoxWhatToDropAndWhatToAdd) {
  StatusText status;
  status.Append(L"Device Connected.\r\n");
  const StatusRange first = status.ChangeSince({}).range;

  const StatusChange same = status.ChangeSince(first);
  EXPECT_TRUE(same.mendable && same.dropped == 0 && same.text.empty() && same.range == first) << "nothing new";

  status.Append(L"Data read successfully.\r\n");
  const StatusChange appended = status.ChangeSince(first);
  EXPECT_TRUE(appended.mendable);
  EXPECT_EQ(0u, appended.dropped);
  EXPECT_EQ(L"Data read successfully.\r\n", appended.text);

  const StatusChange fromNothing = status.ChangeSince({});
  EXPECT_TRUE(fromNothing.mendable);
  EXPECT_EQ(L"Device Connected.\r\nData read successfully.\r\n", fromNothing.text) << "an empty box gets it all";

  FillWithLines(status, StatusText::kCapacity - 100);
  status.Append(std::wstring(StatusText::kCapacity - 1 - status.Length() - 2, L'f') + L"\r\n");  // full
  const StatusRange full = status.ChangeSince({}).range;
  status.Append(L"Packets Read: 128\r\n");
  const StatusChange atCapacity = status.ChangeSince(full);
  EXPECT_TRUE(atCapacity.mendable);
  EXPECT_EQ(std::wstring(L"Device Connected.\r\n").size(), atCapacity.dropped) << "the oldest whole line";
  EXPECT_EQ(L"Packets Read: 128\r\n", atCapacity.text);
}

TEST(StatusTextChange, ABoxThatCannotBeMendedIsGivenTheWholeText) {
  StatusText status;
  FillWithLines(status, 1000);
  const StatusRange shown = status.ChangeSince({}).range;
  const struct {
    const char* what;
    StatusRange shown;
  } strangers[] = {
      {"ends past the text", {shown.begin, shown.end + 1}},
      {"starts after the text", {shown.begin + 1, shown.end}},
  };
  for (const auto& stranger : strangers) EXPECT_FALSE(status.ChangeSince(stranger.shown).mendable) << stranger.what;

  status.Append(std::wstring(StatusText::kCapacity, L'x') + L"\r\n");
  EXPECT_FALSE(status.ChangeSince(shown).mendable) << "more was dropped than the box holds";
}

// Random lines, refreshes skipped so several appends pile up, drops at
// capacity, and now and then one append longer than the box: the box always
// ends equal to the text, copied whole only after such an append.
TEST(StatusTextChange, ABoxKeptUpFromTheChangesStaysEqualToTheText) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> lineLength(0, 300);
  std::uniform_int_distribution<int> linesPerRound(1, 12);
  std::uniform_int_distribution<int> percent(0, 99);
  StatusText status;
  ModelBox box;
  int overLongRefreshes = 0;
  bool overLongPending = false;
  for (int round = 0; round < 3000; ++round) {
    const int lines = linesPerRound(random);
    for (int n = 0; n < lines; ++n) {
      const bool longLine = percent(random) == 0;
      const size_t length = longLine ? 5000 : static_cast<size_t>(lineLength(random));
      status.Append(std::wstring(length, static_cast<wchar_t>(L'a' + round % 26)) + L"\r\n");
    }
    if (round % 700 == 699) {
      status.Append(std::wstring(StatusText::kCapacity + static_cast<size_t>(round), L'z') + L"\r\n");
      overLongPending = true;
    }
    if (percent(random) < 40) continue;  // refreshed later
    overLongRefreshes += overLongPending ? 1 : 0;
    overLongPending = false;
    box.Refresh(status);
    ASSERT_TRUE(box.text == TextOf(status)) << "round " << round;
  }
  EXPECT_GT(status.Length(), StatusText::kCapacity - 6000) << "the box was full";
  EXPECT_EQ(overLongRefreshes, box.wholeCopies);
}

}  // namespace
