#pragma once
// Finding the sets of a packet list. Set n begins at the (n+1)-th start packet
// and runs up to the next start packet or the end of the list; packets before
// the first start packet belong to no set.
#include <cstdint>
#include <vector>

#include "data/DataPacket.h"

// The number of start packets.
int32_t CountSets(const std::vector<DataPacket>& packets);

// The index of the start packet of set n; -1 when there is no set n.
int32_t SetStartPacket(const std::vector<DataPacket>& packets, int32_t n);

// The number of packets of the set whose start packet is packets[start]: up
// to the next start packet, the first erased packet or the end of the list.
int32_t PacketsOfSetAt(const std::vector<DataPacket>& packets, int32_t start);

// The number of packets of set n, up to the next start packet, the first
// erased packet or the end of the list; 0 when there is no set n. Writes
// "Set: " n and "Set Address: " with the start index to DebugLog, in decimal.
int32_t SetPacketCount(const std::vector<DataPacket>& packets, int32_t n);

// The set that packet i belongs to; -1 for a packet before the first start
// packet and for an index outside the list.
int32_t SetOfPacket(const std::vector<DataPacket>& packets, int32_t i);
