#pragma once
// A link connected to a simulated altimeter in application mode, with short
// time-outs (3000 ms become 30 ms unless a test asks for another scale), the
// reports counted, and DebugLog captured in decimal.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "device/AltimeterLink.h"
#include "sim/SimAltimeter.h"
#include "sim/SimHidBackend.h"
#include "support/LogCapture.h"
#include "sim/HookedBackend.h"

class SimAltimeterTest : public ::testing::Test {
 protected:
  explicit SimAltimeterTest(double timeoutScale = 0.01) : backend(timeoutScale) {}

  void SetUp() override {
    DebugLog << std::dec;
    ASSERT_EQ(link.Connect(nullptr, false), 1);
  }

  // The blocks before the first erased one, as a download should give them.
  static std::vector<DataPacket> UsedPart(const FlightMemory& memory) {
    return {memory.begin(), memory.begin() + UsedBlocks(memory)};
  }

  LogCapture log;
  SimHidBackend backend;
  HookedBackend hooked{backend};
  std::shared_ptr<SimAltimeter> altimeter = std::make_shared<SimAltimeter>();
  std::shared_ptr<SimInterface> device = PlugSimAltimeter(backend, altimeter);
  AltimeterLink link{hooked};
};

inline bool operator==(const DataPacket& a, const DataPacket& b) {
  return a.kind == b.kind && a.secondByte == b.secondByte && a.wordBytes == b.wordBytes;
}
