#include "sim/OtherHidDevices.h"

namespace {

constexpr HidAttributes kMouse{0x046D, 0xC077, 0x7200};

// A mouse only reports its movements; what the host writes it ignores.
class Mouse : public SimDeviceModel {
 public:
  void OnHostReport(const Report&, ReportSink&) override {}
};

}  // namespace

std::wstring OtherHidDevices::PlugIn() {
  const std::wstring path = SimInterfacePath(kMouse.vendorId, kMouse.productId, plugs_++);
  plugged_.push_back(backend_.Plug(path, kMouse, std::make_shared<Mouse>()));
  return path;
}

std::wstring OtherHidDevices::PullOutFirst() {
  if (plugged_.empty()) return {};
  const std::shared_ptr<SimInterface> device = plugged_.front();
  plugged_.pop_front();
  return PullOut(device);
}

std::wstring OtherHidDevices::PullOutLast() {
  if (plugged_.empty()) return {};
  const std::shared_ptr<SimInterface> device = plugged_.back();
  plugged_.pop_back();
  return PullOut(device);
}

std::wstring OtherHidDevices::PullOut(const std::shared_ptr<SimInterface>& device) {
  device->Remove();
  return device->Path();
}
