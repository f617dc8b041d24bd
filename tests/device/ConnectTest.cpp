#include <gtest/gtest.h>

#include "device/AltimeterLink.h"
#include "sim/SimHidBackend.h"
#include "support/EchoModel.h"
#include "support/LogCapture.h"

namespace {

class ConnectTest : public ::testing::Test {
 protected:
  std::shared_ptr<SimInterface> Plug(uint16_t productId, uint16_t version, int instance = 0) {
    return backend.Plug(SimInterfacePath(kAltimeterVendorId, productId, instance),
                        {kAltimeterVendorId, productId, version}, std::make_shared<EchoModel>());
  }

  SimHidBackend backend{0.01};
  AltimeterLink link{backend};
  uint16_t found = 0xBEEF;
};

TEST_F(ConnectTest, NoAltimeterInEitherMode) {
  backend.Plug(SimInterfacePath(0x046D, 0xC077, 0), {0x046D, 0xC077, 0x0141}, std::make_shared<EchoModel>());
  EXPECT_EQ(link.Connect(&found, false), -1);
  EXPECT_EQ(link.Connect(&found, true), -1);
  EXPECT_EQ(found, 0xBEEF) << "nothing found, nothing reported";
  EXPECT_FALSE(link.IsConnected());
}

TEST_F(ConnectTest, WrongFamilyReportsTheFirstVersionFound) {
  Plug(kApplicationProductId, 0x0135, 0);
  Plug(kApplicationProductId, 0x0150, 1);
  EXPECT_EQ(link.Connect(&found, false), -3);
  EXPECT_EQ(found, 0x0135);
  EXPECT_FALSE(link.IsConnected());
  EXPECT_EQ(link.Connect(&found, true), -1) << "an application-mode device is invisible in bootloader mode";
}

TEST_F(ConnectTest, EachModeSeesOnlyItsProduct) {
  Plug(kBootloaderProductId, 0x0103);
  EXPECT_EQ(link.Connect(&found, false), -1);
  EXPECT_EQ(link.Connect(&found, true), 1);
  EXPECT_EQ(found, 0x0103);
  EXPECT_TRUE(link.IsConnected());
  EXPECT_TRUE(link.IsBootloaderMode());
}

TEST_F(ConnectTest, UnopenableDeviceLeavesTheLinkDisconnected) {
  Plug(kApplicationProductId, 0x0141)->SetUnopenable();
  EXPECT_EQ(link.Connect(&found, false), -2);
  EXPECT_EQ(found, 0x0141);
  EXPECT_FALSE(link.IsConnected());
  EXPECT_FALSE(link.IsBootloaderMode());
}

TEST_F(ConnectTest, FailedConnectLeavesNoModeBehind) {
  Plug(kBootloaderProductId, 0x0103, 0);
  const struct {
    uint16_t version;  // of the application-mode device present; 0: none
    bool unopenable;
    int result;
  } cases[] = {{0, false, -1}, {0x0135, false, -3}, {0x0141, true, -2}};
  int instance = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    std::shared_ptr<SimInterface> application;
    if (c.version != 0) {
      application = Plug(kApplicationProductId, c.version, instance++);
      application->SetUnopenable(c.unopenable, c.unopenable);
    }
    ASSERT_EQ(link.Connect(nullptr, true), 1);
    LogCapture log;
    EXPECT_EQ(link.Connect(nullptr, false), c.result);
    EXPECT_FALSE(link.IsConnected());
    EXPECT_FALSE(link.IsBootloaderMode());
    EXPECT_EQ(link.ReadSettings(), -5) << "a closed link, not one in bootloader mode";
    if (application) application->Remove();
  }
}

// A device that cannot be brought to a known state is not reported connected.
TEST_F(ConnectTest, DeviceNotAnsweringItsResetOrQueryIsRefused) {
  const struct {
    const char* name;
    bool bootloader;
    void (*spoil)(SimInterface& device);
  } cases[] = {
      {"bootloader silent", true, [](SimInterface& device) { device.SetSilentFromRead(0); }},
      {"reset not taken", false, [](SimInterface& device) { device.SetRemovedAtTransfer(0); }},
      {"version query unanswered", false,
       [](SimInterface& device) {
         device.SetActionAtTransfer(1, [&device] { device.SetAttributesUnreadable(); });
       }},
  };
  int instance = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto device = Plug(c.bootloader ? kBootloaderProductId : kApplicationProductId,
                             c.bootloader ? 0x0103 : 0x0141, instance++);
    c.spoil(*device);
    LogCapture log;
    EXPECT_EQ(link.Connect(nullptr, c.bootloader), -2);
    EXPECT_FALSE(link.IsConnected());
    EXPECT_TRUE(log.Contains("Device found but not answering. Connection closed.\n"));
    device->Remove();
  }
}

// An interface that vanished between listing and query (a hot-plug) hides nothing behind it.
TEST_F(ConnectTest, AltimeterBehindAnUnreadableInterfaceIsFound) {
  backend.Plug(SimInterfacePath(0x046D, 0xC077, 0), {0x046D, 0xC077, 0x7200}, std::make_shared<EchoModel>())
      ->SetAttributesUnreadable();
  Plug(kApplicationProductId, 0x0141);
  EXPECT_EQ(link.Connect(&found, false), 1);
  EXPECT_EQ(found, 0x0141);
}

TEST_F(ConnectTest, FirstCompatibleDeviceIsUsed) {
  Plug(kApplicationProductId, 0x0120, 0);  // incompatible, skipped
  Plug(kApplicationProductId, 0x0142, 1);
  Plug(kApplicationProductId, 0x0141, 2);
  EXPECT_EQ(link.Connect(nullptr, false), 1);
  EXPECT_EQ(link.device.versionNumber, 0x0142);
  EXPECT_EQ(link.device.path, SimInterfacePath(kAltimeterVendorId, kApplicationProductId, 1));
}

TEST_F(ConnectTest, ReconnectSwitchesModeAndDisconnectClearsFlags) {
  Plug(kApplicationProductId, 0x0141, 0);
  Plug(kBootloaderProductId, 0x0100, 1);
  ASSERT_EQ(link.Connect(nullptr, true), 1);
  ASSERT_EQ(link.Connect(&found, false), 1);
  EXPECT_EQ(found, 0x0141);
  EXPECT_FALSE(link.IsBootloaderMode());
  ASSERT_EQ(link.Connect(nullptr, true), 1);
  link.RequestCancel();
  link.Disconnect();
  EXPECT_FALSE(link.IsConnected());
  EXPECT_FALSE(link.IsBootloaderMode());
  EXPECT_FALSE(link.cancelRequested);
}

}  // namespace
