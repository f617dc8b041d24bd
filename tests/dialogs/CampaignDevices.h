#pragma once
// The USB side of one interleaving: a backend with short time-outs, our
// altimeter (or its bootloader) plugged in, unrelated interfaces beside it,
// and the knobs the scripted events turn. Used on the dialog's thread.
#include <memory>
#include <string>
#include <vector>

#include "dialogs/CampaignScript.h"
#include "sim/SimAltimeter.h"
#include "sim/OtherHidDevices.h"
#include "sim/SimBootloader.h"
#include "sim/SimHidBackend.h"

class CampaignDevices {
 public:
  explicit CampaignDevices(const CampaignScript& script);

  SimHidBackend& Backend() { return backend_; }
  SimAltimeter& Altimeter() { return *altimeter_; }
  SimBootloader& Bootloader() { return *bootloader_; }
  // The interface our device is plugged in as now (a new one after a re-plug).
  const std::shared_ptr<SimInterface>& Ours() const { return ours_; }

  // Each returns the path a notice names; empty when there was nothing to pull out.
  std::wstring PlugOther();
  std::wstring PullOutOther();
  std::wstring PlugSecondAltimeter(bool bootloaderMode);
  std::wstring PullOutOurs();
  std::wstring PlugOursAgain();
  void InjectFault(CampaignFault fault);
  // The device's one-off glitches pass; an interface gone silent or away stays so.
  void HealDeviceFaults();
  // Whether the interface at `path` is there and answers as it should.
  bool InterfaceSound(const std::wstring& path) const;

  // Whether a device the dialog's connection report would take is present:
  // false while a fault (silence, removal without notice) leaves ours unanswering.
  bool DialogDevicePresent() const;

 private:
  std::shared_ptr<SimInterface> PlugOurs(int instance);

  const bool bootloaderMode_;
  const double groundAltitude_;
  SimHidBackend backend_;
  std::shared_ptr<SimAltimeter> altimeter_ = std::make_shared<SimAltimeter>();
  std::shared_ptr<SimBootloader> bootloader_ = std::make_shared<SimBootloader>();
  int ourInstance_ = 0;
  std::shared_ptr<SimInterface> ours_;
  bool oursPulledOut_ = false;
  std::shared_ptr<SimInterface> faultedInterface_;  // silenced or removed without notice
  OtherHidDevices others_{backend_};
  std::vector<std::shared_ptr<SimInterface>> seconds_;  // second altimeters of the dialog's mode
};
