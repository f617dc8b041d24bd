#include "dialogs/CampaignDevices.h"

#include "sim/FlightModel.h"

namespace {

// 3000 ms become 6 ms: a silent device costs little.
constexpr double kTimeoutScale = 0.002;
constexpr uint8_t kWrongCompletionCode = CodeByte(DeviceCode::WriteSettings);
constexpr int kSecondInstance = 7;

FlightMemory MemoryOf(const CampaignScript& script) {
  std::vector<std::vector<DataPacket>> sets;
  for (const auto& words : script.flights) sets.push_back(PacketsOfSet(words));
  return LayOutMemory(sets);
}

}  // namespace

CampaignDevices::CampaignDevices(const CampaignScript& script)
    : bootloaderMode_(script.BootloaderJob()), groundAltitude_(script.groundAltitude), backend_(kTimeoutScale) {
  altimeter_->LoadMemory(MemoryOf(script));
  altimeter_->SetSettingsImage(script.deviceSettings);
  altimeter_->SetGroundAltitude(script.groundAltitude);
  altimeter_->SetSensorErrorCounts(script.sensorError);
  PlugOther();  // a keyboard is always there
  if (script.usedBackend) {
    // As after an earlier session: our device came and went in both modes.
    PlugSimAltimeter(backend_, altimeter_)->Remove();
    PlugSimBootloader(backend_, bootloader_)->Remove();
    ourInstance_ = 1;
  }
  ours_ = PlugOurs(ourInstance_);
}

std::shared_ptr<SimInterface> CampaignDevices::PlugOurs(int instance) {
  return bootloaderMode_ ? PlugSimBootloader(backend_, bootloader_, kSimBootloaderVersion, instance)
                         : PlugSimAltimeter(backend_, altimeter_, kSimFirmwareVersion, instance);
}

std::wstring CampaignDevices::PlugOther() { return others_.PlugIn(); }

std::wstring CampaignDevices::PullOutOther() { return others_.PullOutLast(); }

std::wstring CampaignDevices::PlugSecondAltimeter(bool bootloaderMode) {
  const int instance = kSecondInstance + static_cast<int>(seconds_.size());
  auto altimeter = std::make_shared<SimAltimeter>();
  altimeter->SetGroundAltitude(groundAltitude_);  // on the same bench as ours
  const std::shared_ptr<SimInterface> second =
      bootloaderMode ? PlugSimBootloader(backend_, std::make_shared<SimBootloader>(), kSimBootloaderVersion, instance)
                     : PlugSimAltimeter(backend_, std::move(altimeter), kSimFirmwareVersion, instance);
  if (bootloaderMode == bootloaderMode_) seconds_.push_back(second);
  return second->Path();
}

// A device that vanished by a fault is still announced once.
std::wstring CampaignDevices::PullOutOurs() {
  if (oursPulledOut_) return {};
  oursPulledOut_ = true;
  ours_->Remove();
  return ours_->Path();
}

// Plugged into the same port, it comes back under the same path, memory and all.
std::wstring CampaignDevices::PlugOursAgain() {
  ours_ = PlugOurs(ourInstance_);
  oursPulledOut_ = false;
  return ours_->Path();
}

void CampaignDevices::InjectFault(CampaignFault fault) {
  switch (fault) {
    case CampaignFault::Silence:
      ours_->SetSilentFromRead(0);
      faultedInterface_ = ours_;
      break;
    case CampaignFault::RemovalWithoutNotice:
      ours_->SetRemovedAtTransfer(0);
      faultedInterface_ = ours_;
      break;
    case CampaignFault::WrongCompletion:
      altimeter_->SetNextCompletionCode(kWrongCompletionCode);
      break;
    case CampaignFault::RejectedBlock:
      bootloader_->SetRejectedBlock(bootloader_->BlocksReceived());
      break;
    case CampaignFault::OutOfMemory:
      // The worker throws; a bootloader it leaves in mid-block is asked nothing until plugged in again.
      if (bootloaderMode_) faultedInterface_ = ours_;
      break;
  }
}

void CampaignDevices::HealDeviceFaults() {
  altimeter_->ClearFaults();
  bootloader_->SetRejectedBlock(-1);
}

bool CampaignDevices::InterfaceSound(const std::wstring& path) const {
  if (ours_->Path() == path) return ours_->IsPresent() && ours_ != faultedInterface_;
  for (const auto& second : seconds_) {
    if (second->Path() == path) return second->IsPresent();
  }
  return false;
}

// The connection refuses ours while a fault leaves it unanswering, and then
// takes no second one either when ours comes first in enumeration order.
bool CampaignDevices::DialogDevicePresent() const {
  if (ours_ == faultedInterface_) return false;
  if (ours_->IsPresent()) return true;
  for (const auto& second : seconds_) {
    if (second->IsPresent()) return true;
  }
  return false;
}
