#include "dialogs/UpdateReport.h"

#include <gtest/gtest.h>

namespace {

// The progress lines a whole update of blocks 0..last shows.
std::vector<int> Shown(int last, int& lastShown) {
  std::vector<int> shown;
  for (int block = 0; block <= last; ++block) {
    if (const auto decile = NextProgressDecile(UpdatePercent(block, last), lastShown)) shown.push_back(*decile);
  }
  return shown;
}

TEST(UpdateReport, ProgressShowsEachTenthOnceAndTheFirstUpdateNoZero) {
  int lastShown = 0;  // as the program starts
  EXPECT_EQ((std::vector<int>{50, 100}), Shown(2, lastShown));
  EXPECT_EQ((std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}), Shown(1023, lastShown))
      << "a second update starts from 0%";
  EXPECT_EQ((std::vector<int>{}), Shown(0, lastShown)) << "one block is 100% at once, as shown last";
  EXPECT_EQ(100, UpdatePercent(0, 0));
  EXPECT_EQ(33, UpdatePercent(1, 3));
}

TEST(UpdateReport, EachResultHasItsLines) {
  UpdateVersions versions;
  versions.fileFormat = 0x0101;
  versions.hardware = 0x0110;
  versions.bootloader = 0x0205;
  versions.firmware = 0x0141;
  const struct {
    int result;
    std::vector<std::wstring> lines;
  } cases[] = {
      {0, {L"New firmware version: 1.41", L"Firmware updated successfully."}},
      {-10, {L"The device is not in bootloader mode."}},
      {-6, {L"The file could not be opened."}},
      {-9, {L"This is not a valid firmware file."}},
      {-8, {L"Incorect file version.", L"File version: 1.01", L"Expected version: 1.00"}},
      {-12,
       {L"The firmware version is not intended for use with this software version.", L"New firmware version: 1.41",
        L"Expected version: 1.40"}},
      {-11,
       {L"The firmware version is not intended for use with this bootloader version.", L"Your bootloader version: 2.05",
        L"Expected version: 1.00"}},
      {-13,
       {L"The firmware version is not intended for use with your hardware version.", L"Your hardware version: 1.10",
        L"Expected version: 1.20"}},
      {-4,
       {L"There was a timeout on a read operation.", L"This was most likely caused by prematurely removing the device.",
        L"Please reconnect and try again."}},
      {-3,
       {L"There was a protocol error.", L"This was most likely caused by prematurely removing the device.",
        L"Please reconnect and try again."}},
      {-7, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.lines, UpdateResultLines(c.result, versions)) << c.result;
}

}  // namespace
