#include "data/DeviceSettings.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/LogCapture.h"

namespace {

using Image = std::array<uint8_t, DeviceSettings::kImageSize>;

const Image kDefaultImage = {0xE0, 0x03, 0xFF, 0x3C, 0x00, 0x14, 0x00, 0x50,
                             0x00, 0x32, 0x96, 0x00, 0x96, 0x00, 0x3B, 0x04};

TEST(DeviceSettings, DefaultsBuildTheKnownImage) {
  const LogCapture log;
  DeviceSettings settings;
  EXPECT_EQ(kDefaultImage, settings.image);
  EXPECT_EQ("", log.Text());  // a record made at start-up says nothing
  settings.lineBMode = LineMode::Time;
  settings.SetDefaults();
  EXPECT_EQ(kDefaultImage, settings.image);
  EXPECT_EQ("Building settings...\nDone.\n", log.Text());
}

TEST(DeviceSettings, FieldsSurviveTheImage) {
  const struct {
    size_t byte;
    uint8_t value;
    int32_t adcOffset;
    uint8_t rebuilt;  // the byte after Parse and Build
  } cases[] = {{8, 0xF6, -10, 0xF6}, {8, 0x80, -128, 0x80}, {2, 0x01, 0, 0xFF}, {10, 0x01, 0, 0x01}};
  const LogCapture quiet;
  for (const auto& c : cases) {
    DeviceSettings settings;
    settings.image[c.byte] = c.value;
    settings.Parse();
    EXPECT_EQ(c.adcOffset, settings.adcOffset) << "byte " << c.byte;
    settings.Build();
    EXPECT_EQ(c.rebuilt, settings.image[c.byte]) << "byte " << c.byte;
    EXPECT_TRUE(settings.Parse());
  }
  DeviceSettings settings;
  settings.adcOffset = 200;
  settings.Build();
  EXPECT_EQ(0xC8, settings.image[8]);
  settings.Parse();
  EXPECT_EQ(-56, settings.adcOffset);
}

TEST(DeviceSettings, AnyCorruptedByteFailsTheChecksum) {
  for (size_t i = 0; i < 14; ++i) {
    DeviceSettings settings;
    settings.image[i] ^= 0x10;
    const LogCapture log;
    EXPECT_FALSE(settings.Parse()) << "byte " << i;
    EXPECT_TRUE(log.Contains("Invalid checksum!\n")) << "byte " << i;
  }
}

TEST(DeviceSettings, ABadImageFromTheDeviceGivesTheDefaults) {
  const LogCapture log;
  DeviceSettings settings;
  settings.image[8] = 0x06;  // an offset of 6 without its checksum
  EXPECT_FALSE(settings.ParseOrSetDefaults());
  EXPECT_EQ(kDefaultImage, settings.image);
  EXPECT_EQ(0, settings.adcOffset);
  EXPECT_TRUE(log.Contains("Invalid checksum!\n"));
  EXPECT_TRUE(log.Contains("Checksum is valid.\n"));

  settings.adcOffset = 6;
  settings.Build();
  EXPECT_TRUE(settings.ParseOrSetDefaults());
  EXPECT_EQ(6, settings.adcOffset);
}

TEST(DeviceSettings, ParseLogsAndLeavesTheLogInHex) {
  DeviceSettings settings;
  settings.maxReadings = 1000;  // logged as it stands before unpacking
  const LogCapture log;
  EXPECT_TRUE(settings.Parse());
  DebugLog << 26 << std::endl;
  EXPECT_EQ("Parsing settings...\nMaxReadings: 1000\nLine: 32\nChecksum is valid.\nDone.\n1a\n", log.Text());
}

TEST(DeviceSettings, StreamsCarryTheImage) {
  DeviceSettings settings;
  settings.image[3] = 0x3D;  // stale: written all the same, refused when read
  const LogCapture log;
  std::stringstream stream;
  EXPECT_TRUE(settings.Serialize(stream));
  EXPECT_EQ("Invalid checksum.\nSuccessfully serialized settings.\n", log.Text());
  DeviceSettings read;
  EXPECT_FALSE(read.Deserialize(stream));
  EXPECT_EQ(0x3D, read.auxWord);  // unpacked all the same

  std::istringstream shortStream(std::string(15, '\0'));
  EXPECT_FALSE(read.Deserialize(shortStream));
  EXPECT_EQ(0x3D, read.image[3]);  // untouched
  std::stringstream good;
  EXPECT_TRUE(DeviceSettings().Serialize(good));
  EXPECT_TRUE(read.Deserialize(good));
  EXPECT_TRUE(log.Contains("Done.\nSuccessfully de-serialized.\n"));
  std::ostringstream failed;
  failed.setstate(std::ios::failbit);
  EXPECT_FALSE(read.Serialize(failed));
  EXPECT_EQ("", failed.str());
}

}  // namespace
