#include "device/ChainedHidBackend.h"

ChainedHidBackend::ChainedHidBackend(HidBackend& first, HidBackend& second) : first_(first), second_(second) {}

std::vector<std::wstring> ChainedHidBackend::ListPaths(HidBackend& backend) {
  std::vector<std::wstring> paths;
  std::wstring path;
  while (backend.GetInterfacePath(static_cast<int>(paths.size()), path)) paths.push_back(path);
  return paths;
}

bool ChainedHidBackend::GetInterfacePath(int index, std::wstring& path) {
  if (index < 0) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (index == 0 || !firstListed_) {
    firstPaths_ = ListPaths(first_);
    firstListed_ = true;
  }
  const int firstCount = static_cast<int>(firstPaths_.size());
  if (index < firstCount) {
    path = firstPaths_[index];
    owners_[path] = &first_;
    return true;
  }
  if (!second_.GetInterfacePath(index - firstCount, path)) return false;
  owners_[path] = &second_;
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
