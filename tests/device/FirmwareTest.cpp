#include <gtest/gtest.h>

#include <climits>

#include "device/FirmwareFile.h"
#include "device/FirmwareFixtures.h"
#include "support/LogCapture.h"

namespace {

FirmwareFileRecipe Recipe(void (*edit)(FirmwareFileRecipe&)) {
  FirmwareFileRecipe recipe;
  edit(recipe);
  return recipe;
}

TEST(FirmwareFileTest, PackedFileLoadsBackAsThePlainImage) {
  FirmwareFileRecipe recipe;
  recipe.plain = PatternBinary(0x3000);
  TempFolder folder;
  const std::string path = folder.Path("firmware.dat").string();
  WriteFirmwareFile(path, recipe);
  ASSERT_EQ(std::filesystem::file_size(path), 65562u);
  FirmwareImage loaded;
  uint16_t format = kUntouched, bootloader = kUntouched, firmware = kUntouched;
  LogCapture log;
  ASSERT_EQ(LoadFirmwareFile(path, loaded, format, bootloader, firmware), kFirmwareFileLoaded);
  EXPECT_EQ(format, 0x0100);
  EXPECT_EQ(bootloader, 0x0103);
  EXPECT_EQ(firmware, 0x0142);
  EXPECT_EQ(loaded.length, 0x3000);
  EXPECT_EQ(loaded.LastBlockIndex(), 192) << "block 192, at address 0x3000, is examined too";
  EXPECT_EQ(loaded.image, FirmwareImage::FromPlain(recipe.plain)->image);
  EXPECT_EQ(log.Text(), "Reading file.\n");
}

TEST(FirmwareFileTest, ImageIsStoredAsWordsXoredWithTheKey) {
  FirmwareImage firmware = *FirmwareImage::FromPlain({0x34, 0x12});
  const std::vector<uint8_t> bytes = EncodeFirmwareFile(firmware, 0x0103, 0x0142);
  EXPECT_EQ(ReadLittleEndian16(&bytes[22]), 0x1234 ^ kFirmwareScrambleKey);
  EXPECT_EQ(ReadLittleEndian16(&bytes[24]), 0xFFFF ^ kFirmwareScrambleKey) << "padding is scrambled as well";
  EXPECT_EQ(ReadLittleEndian32(&bytes[65558]), 2u);
}

TEST(FirmwareFileTest, RefusedFilesLeaveTheImageAndUnreadOutputs) {
  const struct {
    const char* what;
    FirmwareFileRecipe recipe;
    int result;
    uint16_t format, bootloader, firmware;
  } cases[] = {
      {"empty", Recipe([](FirmwareFileRecipe& s) { s.fileSize = 0; }), kFirmwareFileEndsEarly, kUntouched, kUntouched,
       kUntouched},
      {"shorter than the magic", Recipe([](FirmwareFileRecipe& s) { s.fileSize = 15; }), kFirmwareFileEndsEarly,
       kUntouched, kUntouched, kUntouched},
      {"wrong magic", Recipe([](FirmwareFileRecipe& s) { s.wrongMagic = true; }), kFirmwareFileWrongMagic, kUntouched,
       kUntouched, kUntouched},
      {"format version cut", Recipe([](FirmwareFileRecipe& s) { s.fileSize = 17; }), kFirmwareFileEndsEarly, kUntouched,
       kUntouched, kUntouched},
      {"format version 0x0101", Recipe([](FirmwareFileRecipe& s) { s.formatVersion = 0x0101; }),
       kFirmwareFileWrongFormatVersion, 0x0101, kUntouched, kUntouched},
      {"one byte short", Recipe([](FirmwareFileRecipe& s) { s.fileSize = 65561; }), kFirmwareFileEndsEarly, 0x0100,
       0x0103, 0x0142},
      {"length 0", Recipe([](FirmwareFileRecipe& s) { s.length = 0; }), kFirmwareFileNoLength, 0x0100, 0x0103, 0x0142},
      {"length -1", Recipe([](FirmwareFileRecipe& s) { s.length = -1; }), kFirmwareFileNoLength, 0x0100, 0x0103, 0x0142},
      {"length INT_MIN", Recipe([](FirmwareFileRecipe& s) { s.length = INT32_MIN; }), kFirmwareFileNoLength, 0x0100,
       0x0103, 0x0142},
  };
  FirmwareImage untouched;
  untouched.length = 7;
  untouched.image[0] = 0x12;
  TempFolder folder;
  const std::string path = folder.Path("refused.dat").string();
  for (const auto& c : cases) {
    WriteFirmwareFile(path, c.recipe);
    FirmwareImage loaded = untouched;
    uint16_t format = kUntouched, bootloader = kUntouched, firmware = kUntouched;
    LogCapture log;
    EXPECT_EQ(LoadFirmwareFile(path, loaded, format, bootloader, firmware), c.result) << c.what;
    EXPECT_EQ(format, c.format) << c.what;
    EXPECT_EQ(bootloader, c.bootloader) << c.what;
    EXPECT_EQ(firmware, c.firmware) << c.what;
    EXPECT_EQ(loaded.length, untouched.length) << c.what;
    EXPECT_EQ(loaded.image, untouched.image) << c.what;
  }
}

TEST(FirmwareFileTest, MissingFileCannotBeOpenedAndTrailingBytesAreIgnored) {
  FirmwareImage loaded;
  uint16_t format = kUntouched, bootloader = kUntouched, firmware = kUntouched;
  LogCapture log;
  TempFolder folder;
  EXPECT_EQ(LoadFirmwareFile(folder.Path("missing.dat").string(), loaded, format, bootloader, firmware),
            kFirmwareFileCannotOpen);
  EXPECT_EQ(format, kUntouched);
  EXPECT_EQ(log.Text(), "") << "\"Reading file.\" only once it is open";

  const std::string longer = folder.Path("longer.dat").string();
  WriteFirmwareFile(longer, Recipe([](FirmwareFileRecipe& s) { s.fileSize = 70000; }));
  EXPECT_EQ(LoadFirmwareFile(longer, loaded, format, bootloader, firmware), kFirmwareFileLoaded);
  EXPECT_EQ(loaded.length, 256);
}

TEST(FirmwareImageTest, LastBlockFollowsTheLengthButNeverLeavesTheImage) {
  const struct {
    int32_t length;
    int lastBlock;
  } cases[] = {{1, 0},          {63, 0},       {64, 1},       {100, 1},          {0x3000, 192},
               {65472, 1023},   {65535, 1023}, {65536, 1023}, {0x10000 + 64, 1023}, {INT32_MAX, 1023}};
  for (const auto& c : cases) {
    FirmwareImage firmware;
    firmware.length = c.length;
    EXPECT_EQ(firmware.LastBlockIndex(), c.lastBlock) << c.length;
  }
}

TEST(FirmwareImageTest, PlainBinaryFitsTheImageOrIsRefused) {
  EXPECT_FALSE(FirmwareImage::FromPlain({}));
  EXPECT_FALSE(FirmwareImage::FromPlain(std::vector<uint8_t>(kFirmwareImageSize + 1)));
  const auto full = FirmwareImage::FromPlain(std::vector<uint8_t>(kFirmwareImageSize, 0x00));
  ASSERT_TRUE(full);
  EXPECT_EQ(full->length, 65536);
  const auto small = FirmwareImage::FromPlain(PatternBinary(65));
  ASSERT_TRUE(small);
  EXPECT_FALSE(small->IsBlockEmpty(1)) << "one byte of the binary in block 1";
  EXPECT_TRUE(small->IsBlockEmpty(2)) << "padding is erased flash";
}

TEST(FirmwareFileTest, SaveReplacesAFileWholeOrLeavesNothing) {
  const FirmwareImage firmware = *FirmwareImage::FromPlain(PatternBinary(1000));
  TempFolder folder;
  WriteFileBytes(folder.Path("saved.dat"), "old");
  ASSERT_TRUE(SaveFirmwareFile(folder.Path("saved.dat"), firmware, 0x0103, 0x0142));
  EXPECT_EQ(ReadFileVector(folder.Path("saved.dat")), EncodeFirmwareFile(firmware, 0x0103, 0x0142));
  EXPECT_EQ(folder.Listing(), "saved.dat;");

  EXPECT_FALSE(SaveFirmwareFile(folder.Path("missing") / "firmware.dat", firmware, 0x0103, 0x0142));
  EXPECT_EQ(folder.Listing(), "saved.dat;");
}

}  // namespace
