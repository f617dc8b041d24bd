#include "sim/SimUsbPort.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "device/AltimeterLink.h"
#include "device/BootloaderReports.h"
#include "device/FirmwareImage.h"
#include "device/LittleEndian.h"
#include "support/LogCapture.h"

namespace {

class SimUsbPortTest : public ::testing::Test {
 protected:
  LogCapture log;
  SimHidBackend backend{0.01};  // a silent device gives up in milliseconds
  SimUsbPort port{backend};
  AltimeterLink link{backend};
};

TEST_F(SimUsbPortTest, PlugsInEitherModeAndPullsOut) {
  uint16_t version = 0;
  EXPECT_EQ(-1, link.Connect(&version, false));
  const std::wstring path = port.PlugIn(SimPortMode::Application, 0x013A);
  EXPECT_EQ(-3, link.Connect(&version, false));
  EXPECT_EQ(0x013A, version);

  EXPECT_EQ(path, port.PullOut());
  EXPECT_FALSE(port.IsPluggedIn());
  EXPECT_EQ(-1, link.Connect(nullptr, false));
  EXPECT_EQ(L"", port.PullOut());

  port.PlugIn(SimPortMode::Bootloader, 0x0103);
  EXPECT_EQ(-1, link.Connect(nullptr, false));
  EXPECT_EQ(1, link.Connect(&version, true));
  EXPECT_EQ(0x0103, version);
  port.PlugIn(SimPortMode::Application, 0x0141);  // replugged in the other mode
  EXPECT_EQ(-1, link.Connect(nullptr, true));
  EXPECT_EQ(1, link.Connect(nullptr, false));
}

TEST_F(SimUsbPortTest, TheMemoryChosenIsWhatADownloadReads) {
  port.PlugIn(SimPortMode::Application, 0x0141);
  ASSERT_EQ(1, link.Connect(nullptr, false));
  port.LoadMemory(MemoryPreset::SeveralFlights);
  ASSERT_EQ(0, link.ReadData(nullptr, nullptr));
  EXPECT_EQ(3, link.CountSets());
  port.LoadMemory(MemoryPreset::Empty);
  ASSERT_EQ(0, link.ReadData(nullptr, nullptr));
  EXPECT_EQ(0, link.CountSets());
}

TEST_F(SimUsbPortTest, EachFaultSpoilsTheNextOperation) {
  port.PlugIn(SimPortMode::Application, 0x0141);
  ASSERT_EQ(1, link.Connect(nullptr, false));

  port.ArmFault(SimFault::WrongCode);
  EXPECT_EQ(-3, link.ClearData());
  EXPECT_EQ(0, link.ClearData()) << "once only";

  port.ArmFault(SimFault::Silence);
  EXPECT_EQ(-1, link.ReadSettings());
  port.ArmFault(SimFault::None);
  EXPECT_EQ(0, link.ReadSettings());

  std::atomic<int> removals{0};
  port.OnRemovedByFault([&removals] { ++removals; });
  port.ArmFault(SimFault::RemovalMidTransfer);
  EXPECT_EQ(-1, link.ReadSettings());
  EXPECT_EQ(1, removals);
  EXPECT_FALSE(port.IsPluggedIn());
  EXPECT_EQ(-1, link.Connect(nullptr, false));
}

TEST_F(SimUsbPortTest, APressureFaultSpoilsTheNextPressureReadAlone) {
  port.PlugIn(SimPortMode::Application, 0x0141);
  ASSERT_EQ(1, link.Connect(nullptr, false));
  port.ArmFault(SimFault::PressureReadFails);
  EXPECT_EQ(0, link.ClearData());
  EXPECT_EQ(0, link.ReadSettings());
  uint16_t adc = 0;
  EXPECT_LT(link.ReadPressureAdc(adc), 0);
  EXPECT_EQ(0, link.ReadPressureAdc(adc)) << "once only";
}

TEST_F(SimUsbPortTest, OtherDevicesComeAndGoBesideTheAltimeter) {
  const std::wstring first = port.PlugInOtherDevice();
  port.PlugIn(SimPortMode::Application, 0x0141);
  const std::wstring second = port.PlugInOtherDevice();
  EXPECT_NE(first, second);
  HidAttributes attributes;
  ASSERT_TRUE(backend.GetAttributes(first, attributes));
  EXPECT_NE(0x03DB, attributes.vendorId);
  ASSERT_EQ(1, link.Connect(nullptr, false)) << "the altimeter is found among them";

  EXPECT_EQ(first, port.PullOutOtherDevice()) << "the one plugged in longest ago";
  EXPECT_FALSE(backend.GetAttributes(first, attributes));
  EXPECT_EQ(second, port.PullOutOtherDevice());
  EXPECT_EQ(L"", port.PullOutOtherDevice());
  EXPECT_TRUE(port.IsPluggedIn());
  EXPECT_EQ(0, link.ReadSettings()) << "the altimeter's connection is untouched";
}

TEST_F(SimUsbPortTest, APacedDeviceMovesOneReportPerMillisecondEachWay) {
  port.SetPaced(true);
  port.PlugIn(SimPortMode::Application, 0x0141);
  ASSERT_EQ(1, link.Connect(nullptr, false));
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(0, link.WriteSettings());  // 18 reports to the device, one back
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(18));
}

// Lower bounds only, so a busy machine cannot fail it: where sleeps and timed
// waits count whole milliseconds, a report taken or answered early shows here.
TEST_F(SimUsbPortTest, APacedDeviceTakesAndAnswersNoReportBeforeItsTurn) {
  using Clock = std::chrono::steady_clock;
  port.SetPaced(true);
  port.PlugIn(SimPortMode::Application, 0x0141);
  ASSERT_EQ(1, link.Connect(nullptr, false));
  std::array<uint8_t, kApplicationReportLength> report{};
  const auto start = Clock::now();
  for (int n = 1; n <= 8; ++n) {
    report[3] = CodeByte(DeviceCode::Reset);
    ASSERT_TRUE(link.device.WriteReport(report.data(), report.size(), 1000));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(n - 1)) << "write " << n;
  }
  report[3] = CodeByte(DeviceCode::ReadSettings);
  const auto asked = Clock::now();
  ASSERT_TRUE(link.device.WriteReport(report.data(), report.size(), 1000));
  for (int n = 1; n <= static_cast<int>(DeviceSettings::kImageSize) + 1; ++n) {
    ASSERT_TRUE(link.device.ReadReport(report.data(), report.size(), 1000));
    EXPECT_GE(Clock::now() - asked, std::chrono::milliseconds(n)) << "reply " << n;
  }
}

// A battery-powered altimeter keeps emulating across a re-plug and answers the
// reset that ends it with a completion: read as the battery's value, that
// completion would fail the first command.
TEST_F(SimUsbPortTest, AnAltimeterLeftEmulatingAnswersTheFirstCommandAfterAReplug) {
  port.PlugIn(SimPortMode::Application, 0x0141);
  ASSERT_EQ(1, link.Connect(nullptr, false));
  std::array<uint8_t, kApplicationReportLength> report{0, 0, 0, CodeByte(DeviceCode::EmulateLaunch)};
  ASSERT_TRUE(link.device.WriteReport(report.data(), report.size(), 1000));
  ASSERT_TRUE(link.device.ReadReport(report.data(), report.size(), 1000));
  ASSERT_TRUE(port.Altimeter().Emulating());
  port.PullOut();
  port.PlugIn(SimPortMode::Application, 0x0141);
  ASSERT_EQ(1, link.Connect(nullptr, false));
  uint16_t tenths = 0;
  EXPECT_EQ(0, link.ReadBatteryVoltage(tenths));
  EXPECT_EQ(90, tenths);
}

// Lower bounds only, as above: with its answer and the next block's command
// in one frame, a paced update would beat the floor of one report a frame.
TEST_F(SimUsbPortTest, APacedBootloaderAnswersEachBlockInAFrameOfItsOwn) {
  using Clock = std::chrono::steady_clock;
  port.SetPaced(true);
  port.PlugIn(SimPortMode::Bootloader, 0x0103);
  ASSERT_EQ(1, link.Connect(nullptr, true));
  const auto start = Clock::now();
  int reports = 0;
  const auto moved = [&](bool ok) {
    EXPECT_TRUE(ok) << "report " << reports;
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(reports++)) << "report " << reports;
  };
  BootloaderReport report{};
  for (int block = 0; block < 6; ++block) {
    report.fill(0);
    report[1] = kBlockCommandCode;
    moved(link.device.WriteReport(report.data(), report.size(), 1000));
    WriteLittleEndian16(&report[1], FirmwareImage::BlockAddress(block));
    moved(link.device.WriteReport(report.data(), report.size(), 1000));
    moved(link.device.WriteReport(report.data(), report.size(), 1000));
    moved(link.device.ReadReport(report.data(), report.size(), 1000));
    EXPECT_EQ(kBlockAcceptedCode, report[1]);
  }
}

// A model that hands its answer over late, as a thread that woke late does.
class LateHandOver : public SimDeviceModel {
 public:
  void OnHostReport(const Report& report, ReportSink& replies) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    replies.Send(report);
  }
};

// A report that arrived within a read's time-out is taken however late the
// reader wakes, so no load on the machine can fail this.
TEST(SimInterfaceTest, ADeviceAnswersFromTheMomentItTookTheReport) {
  SimHidBackend backend;
  const HidAttributes attributes{kAltimeterVendorId, kApplicationProductId, 0x0141};
  const auto device = backend.Plug(SimInterfacePath(kAltimeterVendorId, kApplicationProductId, 0), attributes,
                                   std::make_shared<LateHandOver>());
  device->SetReplyDelayMs(10);
  HidDevice hid(backend, device->Path(), attributes);
  ASSERT_TRUE(hid.Open());
  std::array<uint8_t, kApplicationReportLength> report{};
  ASSERT_TRUE(hid.WriteReport(report.data(), report.size(), 1000));  // 5 ms after the device took it
  EXPECT_TRUE(hid.ReadReport(report.data(), report.size(), 6)) << "due 10 ms after it was taken";
}

TEST_F(SimUsbPortTest, PluggingInAgainDropsAnArmedFault) {
  port.PlugIn(SimPortMode::Application, 0x0141);
  port.ArmFault(SimFault::Silence);
  port.PlugIn(SimPortMode::Application, 0x0141);
  ASSERT_EQ(1, link.Connect(nullptr, false));
  EXPECT_EQ(0, link.ReadSettings());
}

}  // namespace
