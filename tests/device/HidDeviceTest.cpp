#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "device/HidDevice.h"
#include "sim/SimHidBackend.h"
#include "support/EchoModel.h"
#include "support/LogCapture.h"

namespace {

constexpr HidAttributes kApp{0x03DB, 0x0002, 0x0141};
constexpr HidAttributes kBoot{0x03DB, 0x0001, 0x0103};
constexpr HidAttributes kMouse{0x046D, 0xC077, 0x7200};

class HidDeviceTest : public ::testing::Test {
 protected:
  std::shared_ptr<SimInterface> Plug(const HidAttributes& attributes, int instance = 0) {
    return backend.Plug(SimInterfacePath(attributes.vendorId, attributes.productId, instance), attributes,
                        std::make_shared<EchoModel>());
  }
  HidDevice OpenDevice(const std::shared_ptr<SimInterface>& device) {
    HidDevice hid(backend, device->Path(), device->Attributes());
    EXPECT_TRUE(hid.Open());
    return hid;
  }

  SimHidBackend backend{0.01};
};

TEST_F(HidDeviceTest, FindMatchesWildcardsAndMaskedVersions) {
  Plug(kMouse);
  Plug(kApp, 1);
  Plug(kBoot, 2);
  Plug({0x03DB, 0x0002, 0x0135}, 3);
  const struct {
    uint16_t vendor, product, value, mask;
    size_t expected;
  } cases[] = {
      {0, 0, 0, 0, 4},                 // everything
      {0x03DB, 0, 0, 0, 3},            // any product of the vendor
      {0x03DB, 0x0002, 0, 0, 2},       // every application-mode altimeter, whatever its version
      {0x03DB, 0x0002, 0x0140, 0xFFF0, 1},
      {0x03DB, 0x0001, 0x0100, 0xFFF0, 1},
      {0x03DB, 0x0003, 0, 0, 0},
      {0, 0xC077, 0, 0, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindHidDevices(backend, c.vendor, c.product, c.value, c.mask).size(), c.expected)
        << std::hex << c.vendor << " " << c.product << " " << c.value << " " << c.mask;
  }
}

TEST_F(HidDeviceTest, FindKeepsEnumerationOrderAndSkipsUnreadableAttributes) {
  Plug(kApp, 0);
  Plug({0x03DB, 0x0002, 0x0142}, 1);
  Plug(kMouse)->SetAttributesUnreadable();
  Plug({0x03DB, 0x0002, 0x0143}, 2);
  const auto found = FindHidDevices(backend, 0x03DB, 0x0002, 0, 0);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].versionNumber, 0x0141);
  EXPECT_EQ(found[1].versionNumber, 0x0142);
  EXPECT_EQ(found[2].versionNumber, 0x0143);
  EXPECT_FALSE(found[0].IsOpen());
}

TEST_F(HidDeviceTest, OpenOnOpenDeviceKeepsTheConnection) {
  const auto sim = Plug(kApp);
  HidDevice hid = OpenDevice(sim);
  sim->SetUnopenable();  // a reopen would fail now
  EXPECT_TRUE(hid.Open());
  EXPECT_TRUE(hid.IsOpen());
}

TEST_F(HidDeviceTest, OpenFailureSaysWhichHandle) {
  const struct {
    bool readFails, writeFails;
    bool readLine, writeLine;
  } cases[] = {{true, true, true, true}, {true, false, true, false}, {false, true, false, true}};
  for (const auto& c : cases) {
    const auto sim = Plug(kApp);
    sim->SetUnopenable(c.readFails, c.writeFails);
    HidDevice hid(backend, sim->Path(), sim->Attributes());
    LogCapture log;
    EXPECT_FALSE(hid.Open());
    EXPECT_FALSE(hid.IsOpen());
    EXPECT_TRUE(log.Contains("Cant get USB file handle. The file is locked.\n"));
    EXPECT_EQ(log.Contains("Invalid read handle.\n"), c.readLine);
    EXPECT_EQ(log.Contains("Invalid write handle.\n"), c.writeLine);
    sim->Remove();
  }
}

TEST_F(HidDeviceTest, ReportsTravelAndClosedDeviceFails) {
  HidDevice hid = OpenDevice(Plug(kApp));
  const uint8_t out[4] = {0, 0x34, 0x12, 9};
  uint8_t in[4] = {};
  ASSERT_TRUE(hid.WriteReport(out, 4, 3000));
  ASSERT_TRUE(hid.ReadReport(in, 4, 3000));
  EXPECT_EQ(0, memcmp(in, out, 4));
  hid.Close();
  EXPECT_FALSE(hid.IsOpen());
  EXPECT_FALSE(hid.WriteReport(out, 4, 3000));
  EXPECT_FALSE(hid.ReadReport(in, 4, 3000));
}

TEST_F(HidDeviceTest, TimeOutsAndShortReportsAreFailures) {
  const auto sim = Plug(kApp);
  HidDevice hid = OpenDevice(sim);
  uint8_t in[4] = {};
  EXPECT_FALSE(hid.ReadReport(in, 4, 3000)) << "nothing was asked: the read times out";
  const uint8_t shortReport[3] = {0, 1, 2};
  ASSERT_TRUE(hid.WriteReport(shortReport, 3, 3000));
  EXPECT_FALSE(hid.ReadReport(in, 4, 3000)) << "an echoed 3-byte report is not a whole report";
}

TEST_F(HidDeviceTest, SilentAndRemovedDevicesFail) {
  const auto silent = Plug(kApp, 0);
  silent->SetSilentFromRead(1);
  HidDevice hid = OpenDevice(silent);
  const uint8_t out[4] = {0, 1, 2, 3};
  uint8_t in[4];
  ASSERT_TRUE(hid.WriteReport(out, 4, 3000));
  EXPECT_TRUE(hid.ReadReport(in, 4, 3000));
  ASSERT_TRUE(hid.WriteReport(out, 4, 3000));
  EXPECT_FALSE(hid.ReadReport(in, 4, 3000));

  const auto removed = Plug(kApp, 1);
  removed->SetRemovedAtTransfer(2);
  HidDevice other = OpenDevice(removed);
  EXPECT_TRUE(other.WriteReport(out, 4, 3000));
  EXPECT_TRUE(other.ReadReport(in, 4, 3000));
  EXPECT_FALSE(other.WriteReport(out, 4, 3000));
  HidDevice again(backend, removed->Path(), removed->Attributes());
  EXPECT_FALSE(again.Open()) << "a removed device cannot be opened again";
  EXPECT_TRUE(FindHidDevices(backend, 0x03DB, 0x0002, 0, 0).size() == 1);
}

TEST_F(HidDeviceTest, CloseFromAnotherThreadEndsAPendingRead) {
  SimHidBackend slowBackend;  // real 3000 ms time-outs
  const auto sim = slowBackend.Plug(SimInterfacePath(0x03DB, 2, 0), kApp, std::make_shared<EchoModel>());
  HidDevice hid(slowBackend, sim->Path(), sim->Attributes());
  ASSERT_TRUE(hid.Open());
  const auto start = std::chrono::steady_clock::now();
  std::thread closer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    hid.Close();
  });
  uint8_t in[4];
  EXPECT_FALSE(hid.ReadReport(in, 4, 3000));
  closer.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
}

// The removal notice closes the device just as the worker's transfer starts,
// after the connection looked at its flag: the transfer still fails at once.
TEST_F(HidDeviceTest, AbortLandingAsATransferStartsEndsItAtOnce) {
  SimHidBackend slowBackend;  // real 3000 ms time-outs
  for (const bool reading : {true, false}) {
    SCOPED_TRACE(reading ? "read" : "write");
    const auto sim = slowBackend.Plug(SimInterfacePath(0x03DB, 2, reading), kApp, std::make_shared<EchoModel>());
    HidDevice hid(slowBackend, sim->Path(), sim->Attributes());
    ASSERT_TRUE(hid.Open());
    sim->SetActionAtTransfer(0, [&hid] { hid.Close(); });
    uint8_t report[4] = {0, 1, 2, 3};
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(reading ? hid.ReadReport(report, 4, 3000) : hid.WriteReport(report, 4, 3000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  }
}

TEST_F(HidDeviceTest, RemovalBroadcastMatching) {
  const auto sim = Plug(kApp);
  HidDevice hid = OpenDevice(sim);
  std::wstring upper = sim->Path();
  for (auto& c : upper) c = towupper(c);
  const struct {
    DeviceBroadcast broadcast;
    bool matches;
  } cases[] = {
      {{5, sim->Path()}, true},
      {{5, upper}, true},
      {{5, SimInterfacePath(0x046D, 0xC077, 0)}, false},
      {{5, sim->Path() + L"x"}, false},
      {{2, sim->Path()}, false},  // a volume, not a device interface
  };
  for (const auto& c : cases) {
    LogCapture log;
    EXPECT_EQ(hid.MatchesInterfaceName(c.broadcast), c.matches);
    EXPECT_EQ(log.Contains("Match Failed.\n"), !c.matches);
  }
  EXPECT_TRUE(hid.IsOpen());
}

}  // namespace
