#include "tools/zelgadget/AltimeterGadget.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include "device/AltimeterLink.h"

namespace {

GadgetIdentity IdentityOf(SimPortMode mode, uint16_t version) {
  GadgetIdentity identity;
  identity.vendorId = kAltimeterVendorId;
  identity.release = version;
  identity.manufacturer = "zelusb simulation";
  if (mode == SimPortMode::Application) {
    identity.productId = kApplicationProductId;
    identity.reportLength = kApplicationReportLength - 1;
    identity.product = "Simulated altimeter";
  } else {
    identity.productId = kBootloaderProductId;
    identity.reportLength = kBootloaderReportLength - 1;
    identity.product = "Simulated altimeter bootloader";
  }
  return identity;
}

}  // namespace

AltimeterGadget::AltimeterGadget(std::string name, std::string udc)
    : udc_(std::move(udc)),
      altimeter_(std::make_shared<PortAltimeter>()),
      bootloader_(std::make_shared<SimBootloader>()),
      pulledOut_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)),
      gadget_(std::move(name)) {}

AltimeterGadget::~AltimeterGadget() { PullOut(); }

bool AltimeterGadget::PlugIn(SimPortMode mode, uint16_t version, std::string& error) {
  PullOut();
  altimeter_->ClearAllFaults();
  if (!gadget_.Plug(IdentityOf(mode, version), udc_, error)) return false;
  UniqueFd node = gadget_.OpenNode(error);
  if (!node.Valid()) {
    gadget_.Unplug();
    return false;
  }
  std::shared_ptr<SimDeviceModel> model = altimeter_;
  if (mode == SimPortMode::Bootloader) model = bootloader_;
  model->OnPlugged();
  transport_ = std::make_unique<HidgTransport>(std::move(node), model);
  SetPaced(paced_);
  return true;
}

void AltimeterGadget::PullOut() {
  transport_.reset();
  gadget_.Unplug();
  uint64_t signals = 0;
  [[maybe_unused]] const ssize_t cleared = read(pulledOut_.Get(), &signals, sizeof signals);
}

void AltimeterGadget::LoadMemory(MemoryPreset preset) { altimeter_->LoadMemory(PresetMemory(preset)); }

void AltimeterGadget::SetPaced(bool paced) {
  paced_ = paced;
  if (transport_) transport_->SetReportIntervalMs(paced ? kPortReportIntervalMs : 0);
}

void AltimeterGadget::ArmFault(SimFault fault) {
  if (!transport_) return;
  altimeter_->ArmFault(fault);
  transport_->SetSilent(fault == SimFault::Silence);
  const bool removal = fault == SimFault::RemovalMidTransfer;
  const int signal = pulledOut_.Get();
  transport_->PullOutAtTransfer(removal ? kTransfersBeforeRemoval : -1, [signal] {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t signalled = write(signal, &one, sizeof one);
  });
}

int AltimeterGadget::ReportsFromHost() const { return transport_ ? transport_->ReportsFromHost() : 0; }
int AltimeterGadget::ReportsToHost() const { return transport_ ? transport_->ReportsToHost() : 0; }
