#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "device/TimeOutLimits.h"
#include "sim/FlightModel.h"
#include "sim/SimAltimeterFixture.h"

namespace {

using ControlCommandsTest = SimAltimeterTest;

struct Events {
  std::vector<std::pair<int, int>> seen;  // code, samples sent
  AltimeterLink* cancelOn = nullptr;      // cancels at the request after 10 samples
};

void RecordEvent(void* context, int code, int samplesSent) {
  auto& events = *static_cast<Events*>(context);
  events.seen.emplace_back(code, samplesSent);
  if (events.cancelOn != nullptr && samplesSent == 10) events.cancelOn->RequestCancel();
}

std::vector<int32_t> GroundSamples(int count) { return std::vector<int32_t>(static_cast<size_t>(count), 820); }

TEST_F(ControlCommandsTest, PressureReadAnswersTheCountOfTheGroundAltitude) {
  struct Case {
    double ground;
    int32_t sensorError;
    uint16_t expected;
  };
  for (const Case& c : {Case{0.0, 0, 836}, Case{100.0, 0, 825}, Case{1000.0, 0, 731}, Case{0.0, 4, 840}}) {
    altimeter->SetGroundAltitude(c.ground);
    altimeter->SetSensorErrorCounts(c.sensorError);
    uint16_t adc = 0;
    EXPECT_EQ(link.ReadPressureAdc(adc), 0);
    EXPECT_EQ(adc, c.expected) << c.ground << " m";
  }
  EXPECT_TRUE(log.Contains("Resetting device...\nSending command...\nReading data...\nReading completion code...\n"));
}

TEST_F(ControlCommandsTest, BatteryReadGivesTenthsOfAVolt) {
  altimeter->SetBatteryVoltage(9.4);
  uint16_t tenths = 0;
  EXPECT_EQ(link.ReadBatteryVoltage(tenths), 0);
  EXPECT_EQ(tenths, 94);
  EXPECT_TRUE(log.Contains("Reading completion code...\nDone.\n"));
}

TEST_F(ControlCommandsTest, WrongOrMissingRepliesOfTheValueReads) {
  altimeter->SetGroundAltitude(100.0);
  struct Case {
    bool battery;
    int wrongCodeAt;     // the reply that carries code 11; -1: none
    int silentFromRead;  // -1: never
    int expected;
    uint16_t value;
    int reads;
    std::string log;
  };
  const std::string valueAsked = "Resetting device...\nSending command...\nReading data...\n";
  const std::string completionAsked = valueAsked + "Reading completion code...\n";
  // A wrong code on the value ends the read before its completion; a wrong
  // completion still leaves the value, and the battery read says "Done." of it.
  const Case cases[] = {
      {true, 0, -1, -3, 0xBEEF, 1, valueAsked},
      {true, 1, -1, -3, 90, 2, completionAsked + "Done.\n"},
      {true, -1, 0, -5, 0xBEEF, 1, valueAsked},
      {true, -1, 1, -5, 90, 2, completionAsked},
      {false, 0, -1, -3, 0xBEEF, 1, valueAsked},
      {false, 1, -1, -3, 825, 2, completionAsked},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.log);
    altimeter->ClearFaults();
    if (c.wrongCodeAt >= 0) altimeter->SetReplyCodeAt(c.wrongCodeAt, 11);
    device->SetSilentFromRead(c.silentFromRead >= 0 ? hooked.Reads() + c.silentFromRead : -1);
    const int readsBefore = hooked.Reads();
    uint16_t value = 0xBEEF;
    {
      LogCapture caseLog;
      EXPECT_EQ(c.battery ? link.ReadBatteryVoltage(value) : link.ReadPressureAdc(value), c.expected);
      EXPECT_EQ(caseLog.Text(), c.log);
    }
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(hooked.Reads() - readsBefore, c.reads);
    device->SetSilentFromRead(-1);
    // The command after it is not confused by what was left unread.
    altimeter->ClearFaults();
    EXPECT_EQ(link.ReadBatteryVoltage(value), 0);
  }
}

TEST_F(ControlCommandsTest, ValueReadWhoseResetOrCommandIsNotWrittenStopsThere) {
  const struct {
    int removedAtTransfer;
    const char* log;
  } cases[] = {{0, "Resetting device...\nWrite Error.\n"}, {1, "Resetting device...\nSending command...\n"}};
  int instance = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.log);
    device->SetRemovedAtTransfer(device->TransfersStarted() + c.removedAtTransfer);
    uint16_t value = 0xBEEF;
    {
      LogCapture caseLog;
      EXPECT_EQ(link.ReadPressureAdc(value), -5);
      EXPECT_EQ(caseLog.Text(), c.log);
    }
    EXPECT_EQ(value, 0xBEEF);
    device = PlugSimAltimeter(backend, altimeter, kSimFirmwareVersion, ++instance);
    ASSERT_EQ(link.Connect(nullptr, false), 1);
    EXPECT_EQ(link.ReadPressureAdc(value), 0);
  }
}

TEST_F(ControlCommandsTest, FiringTheLinesFiresBothOnce) {
  EXPECT_EQ(link.FireLines(), 0);
  EXPECT_EQ(altimeter->LineAFirings(), 1);
  EXPECT_EQ(altimeter->LineBFirings(), 1);
  device->SetSilentFromRead(0);
  EXPECT_EQ(link.FireLines(), -5);
}

TEST_F(ControlCommandsTest, EmulationEndsWhenTheSamplesRunOut) {
  link.currentSet.adc = GroundSamples(25);
  Events events;
  const int writesBefore = hooked.Writes();
  EXPECT_TRUE(link.EmulateLaunch(RecordEvent, &events));
  EXPECT_EQ(events.seen, (std::vector<std::pair<int, int>>{{13, 0}, {13, 10}, {13, 20}}));
  EXPECT_TRUE(log.Contains("The device is requesting ADC data. Data: 820\n"));
  EXPECT_TRUE(log.Contains("The device is requesting ADC data. Data: End of available data.\n"));
  EXPECT_EQ(hooked.Writes() - writesBefore, 1 + 25 + 1) << "the command, each sample, the reset";
  EXPECT_FALSE(altimeter->Emulating());
}

TEST_F(ControlCommandsTest, CompletionRightAfterTheEmulationCommandIsAnUnknownCode) {
  link.currentSet.adc = GroundSamples(25);
  altimeter->SetEarlyCompletionAt(0);
  Events events;
  const int writesBefore = hooked.Writes();
  EXPECT_FALSE(link.EmulateLaunch(RecordEvent, &events)) << "the device, idle again, does not answer the reset";
  EXPECT_EQ(events.seen, (std::vector<std::pair<int, int>>{{5, 0}}));
  EXPECT_TRUE(log.Contains("Unknown code received.\nRead Error.\n"));
  EXPECT_EQ(hooked.Writes() - writesBefore, 2);
}

TEST_F(ControlCommandsTest, AClosingReplyOtherThanTheCompletionIsAFailure) {
  link.currentSet.adc = GroundSamples(5);
  altimeter->SetNextCompletionCode(11);
  EXPECT_FALSE(link.EmulateLaunch(nullptr, nullptr));
  EXPECT_TRUE(log.Contains("Data: End of available data.\n"));
  EXPECT_FALSE(altimeter->Emulating());
}

TEST_F(ControlCommandsTest, CancelBetweenTwoRequestsSendsNothingButTheReset) {
  link.currentSet.adc = GroundSamples(40);
  Events events;
  events.cancelOn = &link;
  const int writesBefore = hooked.Writes();
  EXPECT_TRUE(link.EmulateLaunch(RecordEvent, &events));
  EXPECT_EQ(hooked.Writes() - writesBefore, 1 + 10 + 1);
  EXPECT_TRUE(log.Contains("User ended emulation.\nReseting device.\n"));
  EXPECT_FALSE(altimeter->Emulating());
  // The device's closing completion, left unread, does not answer the next command.
  uint16_t tenths = 0;
  EXPECT_EQ(link.ReadBatteryVoltage(tenths), 0);
  EXPECT_EQ(tenths, 90);
}

TEST_F(ControlCommandsTest, EmulatedFlightFiresWhereTheRecordingShows) {
  FlightParameters small;
  small.thrustN = 6.0;
  small.burnTimeS = 0.8;
  small.liftoffMassKg = 0.1;
  small.propellantMassKg = 0.01;
  small.descentRateMs = 7.0;
  small.padTimeS = 3.0;
  const RecordedFlight flight = RecordFlight(small);
  ASSERT_FALSE(flight.packets.empty());
  link.packets = flight.packets;
  ASSERT_TRUE(link.ComputeDataSet(0));
  Events events;
  EXPECT_TRUE(link.EmulateLaunch(RecordEvent, &events));
  // Each event arrives before the request for the next sample, i.e. after `sample + 1` were sent.
  const std::vector<std::pair<int, int>> expected{{14, flight.launchSample + 1}, {17, flight.apogeeSample + 1},
                                                  {15, flight.lineASample + 1},  {16, flight.lineBSample + 1},
                                                  {19, flight.landingSample + 1}};
  std::vector<std::pair<int, int>> seen;
  for (const auto& event : events.seen) {
    if (event.first != 13) seen.push_back(event);
  }
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(log.Contains("Apogee!\nSlope: -"));
  EXPECT_TRUE(log.Contains("Device indicates end of launch.\n"));
  EXPECT_EQ(altimeter->LineAFirings(), 1);
  EXPECT_EQ(altimeter->LineBFirings(), 1);
}

// A reply awaited up to its limit, on a time-out scale that keeps the waits short.
class TimeOutLimitTest : public SimAltimeterTest {
 protected:
  explicit TimeOutLimitTest(double timeoutScale) : SimAltimeterTest(timeoutScale), timeoutScale_(timeoutScale) {}
  void DelayReplies(double fraction, unsigned limitMs) {
    device->SetReplyDelayMs(ScaledDelayMs(fraction, limitMs, timeoutScale_));
  }

 private:
  const double timeoutScale_;
};

class ReportTimeOutTest : public TimeOutLimitTest {
 protected:
  ReportTimeOutTest() : TimeOutLimitTest(0.05) {}
};

class EmulationTimeOutTest : public TimeOutLimitTest {
 protected:
  EmulationTimeOutTest() : TimeOutLimitTest(0.01) {}
};

TEST_F(ReportTimeOutTest, CompletionIsAwaitedUpToItsLimit) {
  DelayReplies(kJustInside, kReportLimitMs);
  EXPECT_EQ(link.FireLines(), 0);
  DelayReplies(kJustPast, kReportLimitMs);
  EXPECT_EQ(link.FireLines(), -5);
}

TEST_F(EmulationTimeOutTest, DeviceIsAwaitedUpToItsLimit) {
  DelayReplies(kJustInside, kEmulationReplyLimitMs);
  EXPECT_TRUE(link.EmulateLaunch(nullptr, nullptr)) << "no samples: the request, the reset, the completion";
  DelayReplies(kJustPast, kEmulationReplyLimitMs);
  EXPECT_FALSE(link.EmulateLaunch(nullptr, nullptr));
  EXPECT_TRUE(log.Contains("Emulating Launch...\nRead Error.\n"));
}

}  // namespace
