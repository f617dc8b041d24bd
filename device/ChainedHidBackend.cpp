#include "device/ChainedHidBackend.h"

ChainedHidBackend::ChainedHidBackend(HidBackend& first, HidBackend& second) : first_(first), second_(second) {}

int ChainedHidBackend::InterfaceCount(HidBackend& backend) {
  std::wstring ignored;
  int count = 0;
  while (backend.GetInterfacePath(count, ignored)) ++count;
  return count;
}

bool ChainedHidBackend::GetInterfacePath(int index, std::wstring& path) {
  const int firstCount = InterfaceCount(first_);
  HidBackend& owner = index < firstCount ? first_ : second_;
  if (!owner.GetInterfacePath(index < firstCount ? index : index - firstCount, path)) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  owners_[path] = &owner;
  return true;
}

HidBackend* ChainedHidBackend::OwnerOf(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto owner = owners_.find(path);
  return owner == owners_.end() ? nullptr : owner->second;
}

bool ChainedHidBackend::GetAttributes(const std::wstring& path, HidAttributes& attributes) {
  HidBackend* owner = OwnerOf(path);
  return owner != nullptr && owner->GetAttributes(path, attributes);
}

HidOpenResult ChainedHidBackend::Open(const std::wstring& path) {
  HidBackend* owner = OwnerOf(path);
  return owner != nullptr ? owner->Open(path) : HidOpenResult{};
}
