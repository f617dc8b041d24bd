#include "data/SetDirectory.h"

#include <gtest/gtest.h>

#include "data/PacketFixtures.h"
#include "support/LogCapture.h"

namespace {

TEST(SetDirectory, FindsTheSetsOfAPacketList) {
  const struct {
    const char* kinds;                  // see PacketsOfKinds
    std::vector<int32_t> startOfSet;    // for each set
    std::vector<int32_t> packetsOfSet;  // for each set
    std::vector<int32_t> setOfPacket;   // for each packet
  } cases[] = {
      {"", {}, {}, {}},
      {"cScS", {1, 3}, {2, 1}, {-1, 0, 0, 1}},
      {"ScEcS", {0, 4}, {2, 1}, {0, 0, 0, 0, 1}},
  };
  const LogCapture quiet;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kinds);
    const std::vector<DataPacket> packets = PacketsOfKinds(c.kinds);
    const int32_t sets = static_cast<int32_t>(c.startOfSet.size());
    const int32_t size = static_cast<int32_t>(packets.size());
    EXPECT_EQ(sets, CountSets(packets));
    for (int32_t n = 0; n <= sets; ++n) {
      EXPECT_EQ(n < sets ? c.startOfSet[n] : -1, SetStartPacket(packets, n)) << "set " << n;
      EXPECT_EQ(n < sets ? c.packetsOfSet[n] : 0, SetPacketCount(packets, n)) << "set " << n;
    }
    for (int32_t i = -1; i <= size; ++i) {
      EXPECT_EQ(i < 0 || i == size ? -1 : c.setOfPacket[i], SetOfPacket(packets, i)) << "packet " << i;
    }
  }
}

TEST(SetDirectory, PacketCountLogsInDecimalWhateverTheBase) {
  const LogCapture log;
  DebugLog << std::hex;
  EXPECT_EQ(1, SetPacketCount(PacketsOfKinds("ccccccccccccS"), 0));
  EXPECT_EQ("Set: 0\nSet Address: 12\n", log.Text());
}

}  // namespace
