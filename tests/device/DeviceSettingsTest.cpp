#include "device/DeviceSettings.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/LogCapture.h"

namespace {

using Image = std::array<uint8_t, DeviceSettings::kImageSize>;

const Image kDefaultImage = {0xE0, 0x03, 0xFF, 0x3C, 0x00, 0x14, 0x00, 0x50,
                             0x00, 0x32, 0x96, 0x00, 0x96, 0x00, 0x3B, 0x04};

// `image` with byte i replaced and the checksum made right again.
DeviceSettings WithByte(size_t i, uint8_t value) {
  DeviceSettings settings;
  settings.image[i] = value;
  const uint16_t sum = settings.Checksum();
  settings.image[14] = static_cast<uint8_t>(sum & 0xFF);
  settings.image[15] = static_cast<uint8_t>(sum >> 8);
  return settings;
}

TEST(DeviceSettings, DefaultsBuildTheKnownImage) {
  const LogCapture log;
  DeviceSettings settings;
  EXPECT_EQ(kDefaultImage, settings.image);
  EXPECT_EQ("", log.Text());  // a record made at start-up says nothing
  settings.maxReadings = 1;
  settings.lineBMode = LineMode::Time;
  settings.SetDefaults();
  EXPECT_EQ(kDefaultImage, settings.image);
  EXPECT_EQ(0x043B, settings.Checksum());
  EXPECT_EQ(992, settings.maxReadings);
  EXPECT_EQ(LineMode::Altitude, settings.lineBMode);
  EXPECT_EQ("Building settings...\nDone.\n", log.Text());
}

TEST(DeviceSettings, FieldsSurviveTheImage) {
  struct Case {
    size_t byte;
    uint8_t value;
    int32_t adcOffset;
    bool auxFlag;
    uint8_t rebuilt;  // the byte after Parse and Build
  };
  const Case cases[] = {
      {8, 0xF6, -10, true, 0xF6},
      {8, 0x80, -128, true, 0x80},
      {8, 0x7F, 127, true, 0x7F},
      {2, 0x01, 0, true, 0xFF},
      {2, 0x00, 0, false, 0x00},
  };
  const LogCapture quiet;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "byte " << c.byte << " = " << int{c.value});
    DeviceSettings settings = WithByte(c.byte, c.value);
    EXPECT_TRUE(settings.Parse());
    EXPECT_EQ(c.adcOffset, settings.adcOffset);
    EXPECT_EQ(c.auxFlag, settings.auxFlag);
    settings.Build();
    EXPECT_EQ(c.rebuilt, settings.image[c.byte]);
    EXPECT_EQ(settings.Checksum(), settings.StoredChecksum());
  }
}

TEST(DeviceSettings, OffsetKeepsOnlyItsLowByte) {
  const LogCapture quiet;
  DeviceSettings settings;
  settings.adcOffset = 200;
  settings.Build();
  EXPECT_EQ(0xC8, settings.image[8]);
  EXPECT_TRUE(settings.Parse());
  EXPECT_EQ(-56, settings.adcOffset);
}

TEST(DeviceSettings, PacksEveryFieldInPlace) {
  const LogCapture quiet;
  DeviceSettings settings;
  settings.maxReadings = 0x1234;
  settings.auxWord = 0x5678;
  settings.inhibitTime = 0x9ABC;
  settings.auxByte = 0xDE;
  settings.lineAMode = LineMode::Time;
  settings.lineBMode = LineMode::Disabled;
  settings.lineAValue = 0x0102;
  settings.lineBValue = 0x0304;
  settings.Build();
  const Image expected = {0x34, 0x12, 0xFF, 0x78, 0x56, 0xBC, 0x9A, 0xDE, 0x00, 0x01, 0x02, 0x01, 0x04, 0x03};
  for (size_t i = 0; i < 14; ++i) EXPECT_EQ(expected[i], settings.image[i]) << "byte " << i;

  DeviceSettings parsed;
  parsed.image = settings.image;
  EXPECT_TRUE(parsed.Parse());
  EXPECT_EQ(0x1234, parsed.maxReadings);
  EXPECT_EQ(0x5678, parsed.auxWord);
  EXPECT_EQ(0x9ABC, parsed.inhibitTime);
  EXPECT_EQ(0xDE, parsed.auxByte);
  EXPECT_EQ(LineMode::Time, parsed.lineAMode);
  EXPECT_EQ(LineMode::Disabled, parsed.lineBMode);
  EXPECT_EQ(0x0102, parsed.lineAValue);
  EXPECT_EQ(0x0304, parsed.lineBValue);
}

TEST(DeviceSettings, AnyCorruptedByteFailsTheChecksum) {
  for (size_t i = 0; i < 14; ++i) {
    SCOPED_TRACE(i);
    DeviceSettings settings;
    settings.image[i] ^= 0x10;
    const LogCapture log;
    EXPECT_FALSE(settings.Parse());
    EXPECT_TRUE(log.Contains("Invalid checksum!\n"));
    EXPECT_FALSE(log.Contains("Checksum is valid."));
  }
}

TEST(DeviceSettings, ParseLogsAndLeavesTheLogInHex) {
  DeviceSettings settings;
  settings.maxReadings = 1000;  // logged as it stands before unpacking
  const LogCapture log;
  EXPECT_TRUE(settings.Parse());
  DebugLog << 26 << std::endl;
  EXPECT_EQ("Parsing settings...\nMaxReadings: 1000\nLine: 32\nChecksum is valid.\nDone.\n1a\n", log.Text());
  EXPECT_EQ(992, settings.maxReadings);
}

TEST(DeviceSettings, SerializeWritesTheImageEvenWhenStale) {
  DeviceSettings settings;
  settings.image[0] = 0;
  const LogCapture log;
  std::ostringstream out;
  EXPECT_TRUE(settings.Serialize(out));
  EXPECT_EQ(std::string(settings.image.begin(), settings.image.end()), out.str());
  EXPECT_EQ("Invalid checksum.\nSuccessfully serialized settings.\n", log.Text());
}

TEST(DeviceSettings, BadStreamsAreRefusedUntouched) {
  DeviceSettings settings;
  const LogCapture log;
  std::ostringstream out;
  out.setstate(std::ios::failbit);
  EXPECT_FALSE(settings.Serialize(out));
  EXPECT_EQ("", out.str());

  std::istringstream failed(std::string(16, '\0'));
  failed.setstate(std::ios::failbit);
  std::istringstream shortStream(std::string(15, '\0'));
  for (std::istringstream* in : {&failed, &shortStream}) {
    EXPECT_FALSE(settings.Deserialize(*in));
    EXPECT_EQ(kDefaultImage, settings.image);
  }
  EXPECT_EQ("", log.Text());
}

TEST(DeviceSettings, DeserializeParsesAndChecks) {
  const DeviceSettings source = WithByte(8, 0xF6);
  const std::string good(source.image.begin(), source.image.end());
  std::string bad = good;
  bad[3] = 0x3D;

  DeviceSettings settings;
  const LogCapture log;
  std::istringstream goodStream(good);
  EXPECT_TRUE(settings.Deserialize(goodStream));
  EXPECT_EQ(-10, settings.adcOffset);
  EXPECT_TRUE(log.Contains("Done.\nSuccessfully de-serialized.\n"));

  std::istringstream badStream(bad);
  EXPECT_FALSE(settings.Deserialize(badStream));
  EXPECT_EQ(0x3D, settings.auxWord);  // unpacked all the same
}

}  // namespace
