#include "sim/FlashText.h"

#include <gtest/gtest.h>

#include "device/FirmwareImage.h"
#include "support/TempFolder.h"

namespace {

TEST(FlashText, SaysHowManyBlocksWereWrittenAndWhetherTheFlashHoldsAnImage) {
  const TempFolder folder;
  std::vector<uint8_t> flash(kFirmwareImageSize, kErasedFlashByte);
  EXPECT_EQ(L"Flash: 0 blocks written", DescribeFlash(0, flash, {}));

  const std::vector<uint8_t> image = {1, 2, 3, 4, 5};  // one block, the rest erased
  WriteFileBytes(folder.Path("image.bin"), std::string(image.begin(), image.end()));
  EXPECT_EQ(L"Flash: 0 blocks written; differs from image.bin at block 0",
            DescribeFlash(0, flash, folder.Path("image.bin")));
  std::copy(image.begin(), image.end(), flash.begin());
  EXPECT_EQ(L"Flash: 1 blocks written; matches image.bin", DescribeFlash(1, flash, folder.Path("image.bin")));
  flash[3 * kFirmwareBlockSize + 7] = 0;
  EXPECT_EQ(L"Flash: 1 blocks written; differs from image.bin at block 3",
            DescribeFlash(1, flash, folder.Path("image.bin")));
  EXPECT_EQ(L"Flash: 1 blocks written; missing.bin cannot be read",
            DescribeFlash(1, flash, folder.Path("missing.bin")));
}

}  // namespace
