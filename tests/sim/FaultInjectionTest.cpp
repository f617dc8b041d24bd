// Every fault of the device or of the link, injected at several points of a
// download and of a settings write, ends in its result code without a hang;
// then the same operation succeeds.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "sim/SimAltimeterFixture.h"

namespace {

enum class Fault { SilentFromRead, RemovedAtTransfer, WrongCodeAt, StrayReplyAt, EarlyCompletionAt, DelayPerReport };

struct FaultCase {
  Fault fault;
  int at;  // a read, a transfer or a reply, counted from the start of the operation
  int expected;
};

std::string Describe(const FaultCase& c) {
  static const char* const kNames[] = {"silent from read", "removed at transfer", "wrong code at reply",
                                       "stray reply before reply", "early completion at reply", "delay per report"};
  return std::string(kNames[static_cast<int>(c.fault)]) + " " + std::to_string(c.at);
}

class FaultInjectionTest : public SimAltimeterTest {
 protected:
  void Inject(const FaultCase& c) {
    switch (c.fault) {
      case Fault::SilentFromRead:
        device->SetSilentFromRead(hooked.Reads() - readsBeforePlug_ + c.at);
        break;
      case Fault::RemovedAtTransfer:
        device->SetRemovedAtTransfer(device->TransfersStarted() + c.at);
        break;
      case Fault::WrongCodeAt:
        altimeter->SetReplyCodeAt(c.at, 7);
        break;
      case Fault::StrayReplyAt:
        altimeter->SetStrayReplyAt(c.at, 12);
        break;
      case Fault::EarlyCompletionAt:
        altimeter->SetEarlyCompletionAt(c.at);
        break;
      case Fault::DelayPerReport:
        device->SetReplyDelayMs(static_cast<unsigned>(c.at));
        break;
    }
  }

  // Runs `operation` with the fault, then `operation` again without it: on the
  // same device when it is still there and talking, else on the altimeter
  // unplugged and plugged in again.
  void Check(const FaultCase& c, const std::function<int()>& operation) {
    SCOPED_TRACE(Describe(c));
    Inject(c);
    EXPECT_EQ(operation(), c.expected);
    if (c.fault == Fault::SilentFromRead || c.fault == Fault::RemovedAtTransfer) {
      device->Remove();
      device = PlugSimAltimeter(backend, altimeter, kSimFirmwareVersion, ++replugs_);
      readsBeforePlug_ = hooked.Reads();
      ASSERT_EQ(link.Connect(nullptr, false), 1);
    }
    altimeter->ClearFaults();
    device->SetReplyDelayMs(0);
    EXPECT_EQ(operation(), 0) << "the link does not recover";
  }

 private:
  int replugs_ = 0;
  int readsBeforePlug_ = 0;  // each interface counts its own reads
};

// Transfers of a download: 0 the reset, then per block b two commands at
// 35b + 1 and 35b + 2, its words at 35b + 3 to 35b + 34, its completion at
// 35b + 35. Replies and reads of block b: words 33b to 33b + 31, completion 33b + 32.
TEST_F(FaultInjectionTest, Download) {
  const FlightMemory memory = PresetMemory(MemoryPreset::SeveralFlights);
  altimeter->LoadMemory(memory);
  const FaultCase cases[] = {
      {Fault::SilentFromRead, 0, -1},          {Fault::SilentFromRead, 32, -1},
      {Fault::SilentFromRead, 33 * 20 + 7, -1}, {Fault::RemovedAtTransfer, 0, -5},
      {Fault::RemovedAtTransfer, 2, -5},        {Fault::RemovedAtTransfer, 3, -1},
      {Fault::RemovedAtTransfer, 35, -1},       {Fault::RemovedAtTransfer, 36, -5},
      {Fault::RemovedAtTransfer, 35 * 40 + 20, -1}, {Fault::WrongCodeAt, 4, -3},
      {Fault::WrongCodeAt, 32, -3},             {Fault::WrongCodeAt, 33 * 30 + 31, -3},
      {Fault::StrayReplyAt, 0, 0},              {Fault::StrayReplyAt, 32, -3},
      {Fault::StrayReplyAt, 33 * 58 + 1, 0},    {Fault::EarlyCompletionAt, 0, -3},
      {Fault::EarlyCompletionAt, 33 * 10 + 16, -3}, {Fault::EarlyCompletionAt, 33 * 58 + 31, -3},
      {Fault::DelayPerReport, 1, 0},
  };
  for (const FaultCase& c : cases) {
    if (c.fault == Fault::DelayPerReport) altimeter->LoadMemory(LayOutMemory({PacketsOfSet({0x3400, 0x3410})}));
    Check(c, [this] { return link.ReadData(nullptr, nullptr); });
    if (c.fault != Fault::DelayPerReport) {
      EXPECT_EQ(link.packets, UsedPart(memory));
    }
  }
  EXPECT_TRUE(log.Contains("Failed to read to packet.\n"));
  EXPECT_TRUE(log.Contains("Could not read complete confirmation.\n"));
  EXPECT_TRUE(log.Contains("Premature end of data.\n"));
}

// Transfers of a settings write: 0 the reset, 1 the command, 2 to 17 the
// bytes, 18 the completion, its one reply.
TEST_F(FaultInjectionTest, SettingsWrite) {
  link.settings.lineBValue = 300;
  link.settings.Build();
  const FaultCase cases[] = {
      {Fault::RemovedAtTransfer, 0, -5},  {Fault::RemovedAtTransfer, 1, -5}, {Fault::RemovedAtTransfer, 2, -1},
      {Fault::RemovedAtTransfer, 17, -1}, {Fault::RemovedAtTransfer, 18, -1}, {Fault::SilentFromRead, 0, -1},
      {Fault::WrongCodeAt, 0, -3},        {Fault::StrayReplyAt, 0, -3},       {Fault::DelayPerReport, 10, 0},
  };
  for (const FaultCase& c : cases) {
    Check(c, [this] { return link.WriteSettings(); });
    EXPECT_EQ(altimeter->SettingsImage(), link.settings.image);
  }
  EXPECT_TRUE(log.Contains("Failed to write packet.\n"));
}

// The settings read: 16 replies, then the completion.
TEST_F(FaultInjectionTest, SettingsRead) {
  const FaultCase cases[] = {
      {Fault::SilentFromRead, 0, -1},    {Fault::SilentFromRead, 16, -1}, {Fault::EarlyCompletionAt, 0, -3},
      {Fault::EarlyCompletionAt, 15, -3}, {Fault::WrongCodeAt, 16, -3},   {Fault::RemovedAtTransfer, 1, -5},
      {Fault::RemovedAtTransfer, 9, -1},
  };
  for (const FaultCase& c : cases) {
    Check(c, [this] { return link.ReadSettings(); });
    EXPECT_EQ(link.settings.image, altimeter->SettingsImage());
  }
  EXPECT_TRUE(log.Contains("Failed to read packet.\n"));
}

}  // namespace
