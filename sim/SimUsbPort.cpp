#include "sim/SimUsbPort.h"

#include <atomic>
#include <utility>

#include "device/AltimeterLink.h"

namespace {

constexpr unsigned kDeviceReportIntervalMs = 1;
// Far enough into any command to be in mid-transfer: after its reset and
// command reports, at its first reply.
constexpr int kTransfersBeforeRemoval = 2;
constexpr uint8_t kWrongCode = CodeByte(DeviceCode::WriteSettings);
bool IsPressureRead(const Report& report) {
  return report.size() == kApplicationReportLength && report[3] == CodeByte(DeviceCode::ReadPressure);
}

}  // namespace

// The altimeter as the port plugs it in: a failed pressure sensor is one more
// fault of the port's list, which the altimeter itself does not model.
class PortAltimeter : public SimAltimeter {
 public:
  void FailNextPressureRead(bool fail) { failNextPressureRead_ = fail; }
  void ClearAllFaults() {
    ClearFaults();
    failNextPressureRead_ = false;
  }
  // Its value reply, the next one sent, gets the wrong code.
  void OnHostReport(const Report& report, ReportSink& replies) override {
    if (IsPressureRead(report) && failNextPressureRead_.exchange(false)) SetReplyCodeAt(0, kWrongCode);
    SimAltimeter::OnHostReport(report, replies);
  }

 private:
  std::atomic<bool> failNextPressureRead_{false};
};

SimUsbPort::SimUsbPort(SimHidBackend& backend)
    : backend_(backend),
      altimeter_(std::make_shared<PortAltimeter>()),
      bootloader_(std::make_shared<SimBootloader>()) {}

SimAltimeter& SimUsbPort::Altimeter() { return *altimeter_; }

std::wstring SimUsbPort::PlugIn(SimPortMode mode, uint16_t version) {
  PullOut();
  altimeter_->ClearAllFaults();
  mode_ = mode;
  plugged_ = mode == SimPortMode::Application ? PlugSimAltimeter(backend_, altimeter_, version)
                                              : PlugSimBootloader(backend_, bootloader_, version);
  SetPaced(paced_);
  return plugged_->Path();
}

std::wstring SimUsbPort::PullOut() {
  if (!plugged_) return {};
  const std::wstring path = plugged_->Path();
  plugged_->Remove();
  plugged_.reset();
  return path;
}

bool SimUsbPort::IsPluggedIn() const { return plugged_ && plugged_->IsPresent(); }

void SimUsbPort::LoadMemory(MemoryPreset preset) { altimeter_->LoadMemory(PresetMemory(preset)); }

void SimUsbPort::SetPaced(bool paced) {
  paced_ = paced;
  if (!plugged_) return;
  plugged_->SetReplyDelayMs(paced ? kDeviceReportIntervalMs : 0);
  plugged_->SetWriteIntervalMs(paced ? kDeviceReportIntervalMs : 0);
}

void SimUsbPort::OnRemovedByFault(std::function<void()> listener) { onRemovedByFault_ = std::move(listener); }

void SimUsbPort::ArmFault(SimFault fault) {
  if (!plugged_) return;
  altimeter_->ClearAllFaults();
  altimeter_->FailNextPressureRead(fault == SimFault::PressureReadFails);
  plugged_->SetSilentFromRead(fault == SimFault::Silence ? 0 : -1);
  plugged_->SetActionAtTransfer(-1, nullptr);
  if (fault == SimFault::WrongCode) altimeter_->SetNextCompletionCode(kWrongCode);
  if (fault == SimFault::RemovalMidTransfer) {
    const std::weak_ptr<SimInterface> device = plugged_;  // the interface keeps the action
    const std::function<void()> told = onRemovedByFault_;
    plugged_->SetActionAtTransfer(plugged_->TransfersStarted() + kTransfersBeforeRemoval, [device, told] {
      if (const auto present = device.lock()) present->Remove();
      if (told) told();
    });
  }
}

std::wstring SimUsbPort::PlugInOtherDevice() { return otherDevices_.PlugIn(); }

std::wstring SimUsbPort::PullOutOtherDevice() { return otherDevices_.PullOutFirst(); }
