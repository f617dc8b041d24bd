#include <gtest/gtest.h>

#include "data/Version.h"

TEST(Version, TextForms) {
  const struct {
    uint16_t version;
    const wchar_t* full;
    const wchar_t* family;
  } cases[] = {
      {0x0141, L"1.41", L"1.4x"}, {0x0100, L"1.00", L"1.0x"}, {0x01A3, L"1.a3", L"1.ax"},
      {0x013A, L"1.3a", L"1.3x"}, {0x0205, L"2.05", L"2.0x"}, {0x0120, L"1.20", L"1.2x"},
      {0x1000, L"10.00", L"10.0x"}, {0x0000, L"0.00", L"0.0x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatVersion(c.version), c.full) << std::hex << c.version;
    EXPECT_EQ(FormatVersionFamily(c.version), c.family) << std::hex << c.version;
  }
}

TEST(Version, ProgramConstantsReadAsTheirFamilies) {
  EXPECT_EQ(FormatVersion(kSoftwareVersion), L"1.41");
  EXPECT_EQ(FormatVersionFamily(kFirmwareFamily), L"1.4x");
  EXPECT_EQ(FormatVersionFamily(kBootloaderFamily), L"1.0x");
  EXPECT_EQ(FormatVersionFamily(kHardwareFamily), L"1.2x");
  EXPECT_EQ(VersionFamily(0x014F), kFirmwareFamily);
}
