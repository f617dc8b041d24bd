#pragma once
// Two backends seen as one: the interfaces of the first, then those of the
// second, in their own orders. Since a connection takes the first compatible
// device, a device of the first backend always wins over one of the second.
#include <map>
#include <mutex>
#include <vector>

#include "device/HidBackend.h"

class ChainedHidBackend : public HidBackend {
 public:
  // Neither is owned; both outlive this object.
  ChainedHidBackend(HidBackend& first, HidBackend& second);

  // Index 0 lists the first backend's interfaces for the pass (one pass of its
  // own) and starts a pass of the second at the first index beyond them.
  bool GetInterfacePath(int index, std::wstring& path) override;
  bool GetAttributes(const std::wstring& path, HidAttributes& attributes) override;
  HidOpenResult Open(const std::wstring& path) override;

 private:
  HidBackend* OwnerOf(const std::wstring& path);
  static std::vector<std::wstring> ListPaths(HidBackend& backend);

  HidBackend& first_;
  HidBackend& second_;
  std::mutex mutex_;
  std::vector<std::wstring> firstPaths_;        // of the current pass
  bool firstListed_ = false;
  std::map<std::wstring, HidBackend*> owners_;  // filled as paths are handed out
};
