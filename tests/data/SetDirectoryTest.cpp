#include "data/SetDirectory.h"

#include <gtest/gtest.h>

#include "data/PacketFixtures.h"
#include "support/LogCapture.h"

namespace {

struct ListCase {
  const char* kinds;  // see PacketsOfKinds
  int32_t sets;
  std::vector<int32_t> startOfSet;    // for sets 0, 1, ...; one past the last gives -1
  std::vector<int32_t> packetsOfSet;  // for sets 0, 1, ...
  std::vector<int32_t> setOfPacket;   // for packets 0, 1, ...
};

const ListCase kLists[] = {
    {"", 0, {-1}, {}, {}},
    {"S", 1, {0, -1}, {1}, {0}},
    {"cS", 1, {1, -1}, {1}, {-1, 0}},
    {"ScSccS", 3, {0, 2, 5, -1}, {2, 3, 1}, {0, 0, 1, 1, 1, 2}},
    {"ScEcS", 2, {0, 4, -1}, {2, 1}, {0, 0, 0, 0, 1}},
    {"SS", 2, {0, 1, -1}, {1, 1}, {0, 1}},
};

TEST(SetDirectory, FindsTheSetsOfAPacketList) {
  const LogCapture quiet;
  for (const ListCase& c : kLists) {
    SCOPED_TRACE(c.kinds);
    const std::vector<DataPacket> packets = PacketsOfKinds(c.kinds);
    EXPECT_EQ(c.sets, CountSets(packets));
    for (size_t n = 0; n < c.startOfSet.size(); ++n) {
      EXPECT_EQ(c.startOfSet[n], SetStartPacket(packets, static_cast<int32_t>(n))) << "set " << n;
    }
    for (size_t n = 0; n < c.packetsOfSet.size(); ++n) {
      EXPECT_EQ(c.packetsOfSet[n], SetPacketCount(packets, static_cast<int32_t>(n))) << "set " << n;
    }
    for (size_t i = 0; i < c.setOfPacket.size(); ++i) {
      EXPECT_EQ(c.setOfPacket[i], SetOfPacket(packets, static_cast<int32_t>(i))) << "packet " << i;
    }
  }
}

TEST(SetDirectory, OutOfRangeQueriesFindNothing) {
  const std::vector<DataPacket> packets = PacketsOfKinds("ScS");
  const LogCapture quiet;
  EXPECT_EQ(-1, SetStartPacket(packets, -1));
  EXPECT_EQ(0, SetPacketCount(packets, 2));
  EXPECT_EQ(-1, SetOfPacket(packets, -1));
  EXPECT_EQ(-1, SetOfPacket(packets, 3));
}

TEST(SetDirectory, PacketCountLogsInDecimalWhateverTheBase) {
  const std::vector<DataPacket> packets = PacketsOfKinds("ccccccccccccSc");
  const LogCapture log;
  DebugLog << std::hex;
  EXPECT_EQ(2, SetPacketCount(packets, 0));
  EXPECT_EQ("Set: 0\nSet Address: 12\n", log.Text());
}

}  // namespace
