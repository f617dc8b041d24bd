#include <gtest/gtest.h>

#include "device/AltimeterLink.h"
#include "device/win32/Win32HidBackend.h"

// These machines have no altimeter plugged in: the real SetupAPI path must find
// nothing of ours and say so, in both modes.
TEST(SetupApi, FindsNoAltimeter) {
  Win32HidBackend backend;
  EXPECT_TRUE(FindHidDevices(backend, kAltimeterVendorId, 0, 0, 0).empty());
  AltimeterLink link(backend);
  uint16_t found = 0;
  EXPECT_EQ(link.Connect(&found, false), -1);
  EXPECT_EQ(link.Connect(&found, true), -1);
  EXPECT_FALSE(link.IsConnected());
}
