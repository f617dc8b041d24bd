#include "sim/SettingsText.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"

namespace {

TEST(SettingsText, ShowsTheStoredImageAndItsFieldsWithoutLogging) {
  const LogCapture log;
  DebugLog << std::dec;
  DeviceSettings fields;
  EXPECT_EQ(
      L"Image: E0 03 FF 3C 00 14 00 50 00 32 96 00 96 00 3B 04\r\n"
      L"Line A: Apogee 150; Line B: Altitude 150; inhibit 20; offset 0; checksum ok",
      DescribeSettingsImage(fields.image));

  fields.lineAMode = LineMode::Time;
  fields.lineAValue = 30;
  fields.adcOffset = -6;
  auto image = fields.Packed();
  EXPECT_NE(std::wstring::npos,
            DescribeSettingsImage(image).find(L"Line A: Time 30; Line B: Altitude 150; inhibit 20; offset -6; checksum ok"));
  image[5] ^= 1;  // the inhibit's low byte, without fixing the checksum
  EXPECT_NE(std::wstring::npos, DescribeSettingsImage(image).find(L"inhibit 21; offset -6; checksum bad"));
  EXPECT_EQ("", log.Text()) << "the window's refresh must leave the log and its base alone";
  EXPECT_EQ(L"Line A fired: 2; Line B fired: 0", DescribeFirings(2, 0));
}

}  // namespace
