#include "sim/SimUsbPort.h"

#include <utility>

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
  plugged_->SetReplyDelayMs(paced ? kPortReportIntervalMs : 0);
  plugged_->SetWriteIntervalMs(paced ? kPortReportIntervalMs : 0);
}

void SimUsbPort::OnRemovedByFault(std::function<void()> listener) { onRemovedByFault_ = std::move(listener); }

void SimUsbPort::ArmFault(SimFault fault) {
  if (!plugged_) return;
  altimeter_->ArmFault(fault);
  plugged_->SetSilentFromRead(fault == SimFault::Silence ? 0 : -1);
  plugged_->SetActionAtTransfer(-1, nullptr);
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
