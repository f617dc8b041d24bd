#include <gtest/gtest.h>

#include "device/AltimeterLink.h"
#include "device/ChainedHidBackend.h"
#include "sim/SimHidBackend.h"
#include "support/EchoModel.h"

namespace {

// Counts the discovery passes started on a backend: the times index 0 is asked for.
class PassCounter : public SimHidBackend {
 public:
  PassCounter() : SimHidBackend(0.01) {}
  bool GetInterfacePath(int index, std::wstring& path) override {
    if (index == 0) ++passes;
    return SimHidBackend::GetInterfacePath(index, path);
  }
  int passes = 0;
};

class ChainedHidBackendTest : public ::testing::Test {
 protected:
  static std::shared_ptr<SimInterface> PlugAltimeter(SimHidBackend& backend, uint16_t version, int instance) {
    return backend.Plug(SimInterfacePath(kAltimeterVendorId, kApplicationProductId, instance),
                        {kAltimeterVendorId, kApplicationProductId, version}, std::make_shared<EchoModel>());
  }

  PassCounter real;
  PassCounter simulated;
  ChainedHidBackend chained{real, simulated};
  AltimeterLink link{chained};
};

TEST_F(ChainedHidBackendTest, FallsBackToTheSecondBackend) {
  const auto fallback = PlugAltimeter(simulated, 0x0141, 7);
  ASSERT_EQ(link.Connect(nullptr, false), 1);
  EXPECT_EQ(link.device.path, fallback->Path());
  const uint8_t report[4] = {0, 1, 2, 3};
  uint8_t echo[4] = {};
  ASSERT_TRUE(link.device.WriteReport(report, 4, 3000));
  ASSERT_TRUE(link.device.ReadReport(echo, 4, 3000));
  EXPECT_EQ(echo[3], 3) << "reports reach the second backend's device";
}

TEST_F(ChainedHidBackendTest, ADeviceOfTheFirstBackendWins) {
  PlugAltimeter(simulated, 0x0141, 7);
  const auto attached = PlugAltimeter(real, 0x0142, 1);
  uint16_t found = 0;
  ASSERT_EQ(link.Connect(&found, false), 1);
  EXPECT_EQ(found, 0x0142);
  EXPECT_EQ(link.device.path, attached->Path());
  EXPECT_EQ(FindHidDevices(chained, 0, 0, 0, 0).size(), 2u);
}

// A backend that lists its interfaces once per pass keeps doing so behind the chain.
TEST_F(ChainedHidBackendTest, OnePassStartsOnePassOfEachBackend) {
  for (int instance = 0; instance < 5; ++instance) PlugAltimeter(real, 0x0135, instance);
  PlugAltimeter(simulated, 0x0135, 5);
  const auto fallback = PlugAltimeter(simulated, 0x0141, 6);
  ASSERT_EQ(link.Connect(nullptr, false), 1);
  EXPECT_EQ(link.device.path, fallback->Path());
  EXPECT_EQ(1, real.passes);
  EXPECT_EQ(1, simulated.passes);
}

TEST_F(ChainedHidBackendTest, EveryPassListsTheFirstBackendAfresh) {
  EXPECT_TRUE(FindHidDevices(chained, 0, 0, 0, 0).empty());
  const auto later = PlugAltimeter(real, 0x0141, 1);  // plugged in after a pass
  const std::vector<HidDevice> found = FindHidDevices(chained, 0, 0, 0, 0);
  ASSERT_EQ(1u, found.size());
  EXPECT_EQ(later->Path(), found.front().path);
  std::wstring path;
  EXPECT_FALSE(chained.GetInterfacePath(-1, path));
}

TEST_F(ChainedHidBackendTest, UnknownPathsAreNotServed) {
  HidAttributes attributes;
  EXPECT_FALSE(chained.GetAttributes(L"\\\\?\\hid#nowhere", attributes));
  EXPECT_FALSE(chained.Open(L"\\\\?\\hid#nowhere").connection);
}

}  // namespace
