#pragma once
// One interleaving of the job campaign: the job, what the device holds, and
// the notices, faults and cancels placed at the job's transfers. Each is drawn
// from a random stream of its own (the campaign's seed and its number), so any
// one of them can be replayed alone.
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "data/DeviceSettings.h"

enum class CampaignJob { Download, Clear, ReadSettings, WriteSettings, Calibrate, UpdateFirmware, EmulateLaunch };

enum class CampaignEvent {
  OtherArrival,     // an unrelated HID interface is plugged in
  OtherRemoval,     // the unrelated interface plugged in last is pulled out
  VolumeNotice,     // a USB stick's volume arrives (variant 1: leaves); not an interface
  SecondAltimeter,  // another altimeter arrives, in bootloader mode for variant 1
  OurRemoval,       // our device is pulled out; variant 1: the notice spells it in capitals
  Replug,           // our device is pulled out (as OurRemoval) and plugged in again
  Fault,            // variant: a CampaignFault
  Cancel,           // variant 1: by closing the dialog
};

enum class CampaignFault {
  Silence,               // nothing more arrives from the device
  RemovalWithoutNotice,  // the device vanishes at this transfer, unannounced
  WrongCompletion,       // the altimeter's next completion carries a wrong code
  RejectedBlock,         // the bootloader refuses the next block
  OutOfMemory,           // the job's work throws at this transfer
};

struct ScriptedEvent {
  int transfer = 0;  // the job's transfer (from 0) as whose start it happens
  CampaignEvent kind = CampaignEvent::OtherArrival;
  int variant = 0;
};

struct CampaignScript {
  CampaignJob job = CampaignJob::Download;
  bool usedBackend = false;                    // interfaces came and went before ours was plugged in
  std::vector<std::vector<uint16_t>> flights;  // the sample words of each recorded set
  std::array<uint8_t, DeviceSettings::kImageSize> deviceSettings{};
  std::array<uint8_t, DeviceSettings::kImageSize> settingsToWrite{};
  double groundAltitude = 150.0;  // where the altimeter lies for a calibration
  int32_t sensorError = 0;        // in ADC counts
  std::vector<uint8_t> firmware;  // the plain binary of an update
  int emulationSamples = 0;
  uint16_t emulationSample = 820;     // every sample the same: no launch is seen
  std::vector<ScriptedEvent> events;  // by transfer, ascending
  // Events the job did not reach come before the dialog hears that it ended.
  bool lateEventsBeforeJobEnded = false;

  bool BootloaderJob() const { return job == CampaignJob::UpdateFirmware; }
  // The transfers the job makes when nothing disturbs it.
  int JobTransfers() const;
  std::string Describe() const;
};

CampaignScript DrawScript(std::mt19937& random);
CampaignScript ScriptOf(uint32_t seed, int interleaving);
