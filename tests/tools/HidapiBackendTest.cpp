// The Linux HID backend on this machine, where no altimeter is attached:
// enumeration ends, every interface it lists has attributes, and nothing
// answers as an altimeter.
#include <gtest/gtest.h>

#include "device/AltimeterLink.h"
#include "device/linux/HidapiBackend.h"
#include "support/LogCapture.h"

namespace {

TEST(HidapiBackendTest, EnumeratesWithoutFindingAnAltimeter) {
  LogCapture log;
  HidapiBackend backend;
  std::wstring path;
  int listed = 0;
  for (; backend.GetInterfacePath(listed, path); ++listed) {
    HidAttributes attributes;
    EXPECT_TRUE(backend.GetAttributes(path, attributes));
    ASSERT_LT(listed, 1000) << "enumeration ends";
  }
  EXPECT_FALSE(backend.GetInterfacePath(-1, path));
  AltimeterLink link(backend);
  for (const bool bootloader : {false, true}) EXPECT_EQ(-1, link.Connect(nullptr, bootloader));
}

TEST(HidapiBackendTest, AMissingNodeNeitherOpensNorHasAttributes) {
  HidapiBackend backend;
  HidAttributes attributes;
  EXPECT_FALSE(backend.GetAttributes(L"/dev/hidraw-none", attributes));
  const HidOpenResult opened = backend.Open(L"/dev/hidraw-none");
  EXPECT_EQ(nullptr, opened.connection);
  EXPECT_FALSE(opened.readHandleValid || opened.writeHandleValid);
}

}  // namespace
