// The set operations of AltimeterLink: each locks dataMutex and delegates to
// the free functions over the packet list.
#include "data/SetDirectory.h"
#include "device/AltimeterLink.h"

std::unique_lock<std::mutex> AltimeterLink::LockData() const { return std::unique_lock<std::mutex>(dataMutex); }

int32_t AltimeterLink::CountSets() const {
  const auto lock = LockData();
  return ::CountSets(packets);
}

int32_t AltimeterLink::SetStartPacket(int32_t n) const {
  const auto lock = LockData();
  return ::SetStartPacket(packets, n);
}

int32_t AltimeterLink::SetPacketCount(int32_t n) const {
  const auto lock = LockData();
  return ::SetPacketCount(packets, n);
}

int32_t AltimeterLink::SetOfPacket(int32_t i) const {
  const auto lock = LockData();
  return ::SetOfPacket(packets, i);
}

bool AltimeterLink::ComputeDataSet(int32_t n) {
  const auto lock = LockData();
  return ComputeDataSetLocked(n);
}

bool AltimeterLink::SelectDataSet(int32_t n) {
  const auto lock = LockData();
  if (!ComputeDataSetLocked(n)) return false;
  viewRange = RangeOfDataSet(currentSet);
  return true;
}

bool AltimeterLink::ComputeDataSetLocked(int32_t n) {
  if (n == -1) return false;
  currentSet.Build(packets, ::SetStartPacket(packets, n), settings.adcOffset, n);
  return true;
}
