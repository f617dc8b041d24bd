// Discovery through the Linux HID backend: on this machine's own hidraw nodes,
// only what holds on any machine; the rest over a stand-in for hidapi.
#include <gtest/gtest.h>

#include <string>

#include "device/AltimeterLink.h"
#include "device/linux/HidapiBackend.h"
#include "support/LogCapture.h"
#include "tools/FakeHidraw.h"

namespace {

TEST(HidapiBackendTest, ThisMachinesEnumerationEndsAndListsReadableInterfaces) {
  HidapiBackend backend;
  std::wstring path;
  int listed = 0;
  for (; backend.GetInterfacePath(listed, path); ++listed) {
    HidAttributes attributes;
    EXPECT_TRUE(backend.GetAttributes(path, attributes));
    ASSERT_LT(listed, 1000) << "enumeration ends";
  }
  EXPECT_FALSE(backend.GetInterfacePath(-1, path));
}

TEST(HidapiBackendTest, AMissingNodeNeitherOpensNorHasAttributes) {
  HidapiBackend backend;
  HidAttributes attributes;
  EXPECT_FALSE(backend.GetAttributes(L"/dev/hidraw-none", attributes));
  const HidOpenResult opened = backend.Open(L"/dev/hidraw-none");
  EXPECT_EQ(nullptr, opened.connection);
  EXPECT_FALSE(opened.readHandleValid || opened.writeHandleValid);
}

class HidapiDiscoveryTest : public testing::Test {
 protected:
  // Mice, keyboards and the like: no altimeter among them.
  void PlugOthers(int count) {
    for (int i = 0; i < count; ++i) hidraw->Plug(Node(i), 0x046D, static_cast<uint16_t>(0xC000 + i), 0x0141);
  }
  static std::string Node(int n) { return "/dev/hidraw" + std::to_string(n); }

  LogCapture log;
  std::shared_ptr<FakeHidraw> hidraw = std::make_shared<FakeHidraw>();
  HidapiBackend backend{hidraw};
  AltimeterLink link{backend};
};

// One list of the machine's interfaces per Connect, however many there are.
TEST_F(HidapiDiscoveryTest, ConnectEnumeratesOnce) {
  PlugOthers(49);
  for (const bool bootloader : {false, true}) {
    const int before = hidraw->Enumerations();
    EXPECT_EQ(-1, link.Connect(nullptr, bootloader)) << "nothing else answers as an altimeter";
    EXPECT_EQ(1, hidraw->Enumerations() - before);
  }
  hidraw->Plug(Node(49), kAltimeterVendorId, kApplicationProductId, 0x0141);
  const int before = hidraw->Enumerations();
  uint16_t version = 0;
  ASSERT_EQ(1, link.Connect(&version, false));
  EXPECT_EQ(1, hidraw->Enumerations() - before);
  EXPECT_EQ(0x0141, version);
  EXPECT_EQ(L"/dev/hidraw49", link.device.path);
}

// Each pass lists anew: a device plugged or pulled between two is seen by the second.
TEST_F(HidapiDiscoveryTest, EachConnectSeesTheInterfacesPresentThen) {
  PlugOthers(3);
  hidraw->Plug("/dev/hidraw3", kAltimeterVendorId, kApplicationProductId, 0x0135);
  uint16_t version = 0;
  EXPECT_EQ(-3, link.Connect(&version, false));
  EXPECT_EQ(0x0135, version);
  hidraw->Unplug("/dev/hidraw3");
  hidraw->Plug("/dev/hidraw4", kAltimeterVendorId, kApplicationProductId, 0x0142);
  ASSERT_EQ(1, link.Connect(&version, false));
  EXPECT_EQ(0x0142, version);
  EXPECT_EQ(L"/dev/hidraw4", link.device.path);
  link.Disconnect();
  hidraw->Unplug("/dev/hidraw4");
  EXPECT_EQ(-1, link.Connect(nullptr, false));
  HidAttributes attributes;
  EXPECT_FALSE(backend.GetAttributes(L"/dev/hidraw4", attributes));
  EXPECT_FALSE(backend.Open(L"/dev/hidraw4").connection);
}

TEST(HidapiLibraryTest, WithoutItNothingIsPresent) {
  const auto unstarted = std::make_shared<FakeHidraw>();
  unstarted->Plug("/dev/hidraw0", kAltimeterVendorId, kApplicationProductId, 0x0141);
  unstarted->FailInit();
  {
    HidapiBackend without{unstarted};
    std::wstring path;
    HidAttributes attributes;
    EXPECT_FALSE(without.GetInterfacePath(0, path));
    EXPECT_FALSE(without.GetAttributes(L"/dev/hidraw0", attributes));
    EXPECT_FALSE(without.Open(L"/dev/hidraw0").connection);
  }
  EXPECT_EQ(0, unstarted->Enumerations());
  EXPECT_EQ(0, unstarted->Exits()) << "no hid_exit without hid_init";
}

// A connection still held when the backend goes keeps hidapi up until it closes.
TEST(HidapiLibraryTest, EndsAfterTheLastConnection) {
  const auto hidraw = std::make_shared<FakeHidraw>();
  hidraw->Plug("/dev/hidraw0", kAltimeterVendorId, kApplicationProductId, 0x0141);
  std::shared_ptr<HidConnection> connection;
  {
    HidapiBackend backend{hidraw};
    connection = backend.Open(L"/dev/hidraw0").connection;
    ASSERT_TRUE(connection);
  }
  const uint8_t report[4] = {0, 1, 2, 3};
  EXPECT_TRUE(connection->WriteReport(report, sizeof report, 3000));
  EXPECT_EQ(0, hidraw->Exits());
  connection.reset();
  EXPECT_EQ(1, hidraw->Exits());
  EXPECT_EQ(0, hidraw->CallsAfterExit());
}

}  // namespace
