#include "data/SetDirectory.h"

#include <algorithm>

#include "base/DebugLog.h"

namespace {

bool IsStart(const DataPacket& packet) { return packet.IsStart(); }

}  // namespace

int32_t CountSets(const std::vector<DataPacket>& packets) {
  return static_cast<int32_t>(std::count_if(packets.begin(), packets.end(), IsStart));
}

int32_t SetStartPacket(const std::vector<DataPacket>& packets, int32_t n) {
  int32_t startsSeen = 0;
  for (size_t i = 0; i < packets.size(); ++i) {
    if (!packets[i].IsStart()) continue;
    if (startsSeen == n) return static_cast<int32_t>(i);
    ++startsSeen;
  }
  return -1;
}

int32_t SetPacketCount(const std::vector<DataPacket>& packets, int32_t n) {
  const int32_t start = SetStartPacket(packets, n);
  DebugLog << "Set: " << std::dec << n << std::endl;
  DebugLog << "Set Address: " << std::dec << start << std::endl;
  return start < 0 ? 0 : PacketsOfSetAt(packets, start);
}

int32_t PacketsOfSetAt(const std::vector<DataPacket>& packets, int32_t start) {
  size_t i = static_cast<size_t>(start) + 1;
  while (i < packets.size() && !packets[i].IsStart() && !packets[i].IsErased()) ++i;
  return static_cast<int32_t>(i) - start;
}

int32_t SetOfPacket(const std::vector<DataPacket>& packets, int32_t i) {
  if (i < 0 || static_cast<size_t>(i) >= packets.size()) return -1;
  return static_cast<int32_t>(std::count_if(packets.begin(), packets.begin() + i + 1, IsStart)) - 1;
}
