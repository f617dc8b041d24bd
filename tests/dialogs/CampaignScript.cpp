#include "dialogs/CampaignScript.h"

#include <algorithm>
#include <sstream>

#include "device/DeviceCode.h"
#include "device/FirmwareImage.h"
#include "sim/FlightModel.h"

namespace {

// Small enough that one interleaving takes about a millisecond.
constexpr int kMostFlights = 3;
constexpr int kMostSamplesPerFlight = 3 * kWordsPerPacket;
constexpr int kMostFirmwareBlocks = 5;
constexpr int kMostEmulationSamples = 2;  // the emulation waits 10 ms per reply
constexpr int kMostEvents = 4;

// The transfers of each part of a command, as the link makes them.
constexpr int kReadBlockTransfers = 2 + kWordsPerBlock + 1;             // two requests, the words, the completion
constexpr int kSettingsTransfers = 2 + DeviceSettings::kImageSize + 1;  // reset, command, bytes, completion
constexpr int kValueReadTransfers = 4;                                  // reset, command, value, completion
constexpr int kClearTransfers = 2;                                      // command, completion
constexpr int kFirmwareBlockTransfers = 4;                              // command, address, data, answer

int Uniform(std::mt19937& random, int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

bool Chance(std::mt19937& random, double probability) { return std::bernoulli_distribution(probability)(random); }

std::vector<uint16_t> DrawFlight(std::mt19937& random) {
  std::vector<uint16_t> words(static_cast<size_t>(Uniform(random, 1, kMostSamplesPerFlight)));
  for (uint16_t& word : words) {
    word = MakeSampleWord(Uniform(random, 0, 1023), static_cast<uint8_t>(Uniform(random, 0, 3)));
  }
  return words;
}

std::array<uint8_t, DeviceSettings::kImageSize> DrawSettings(std::mt19937& random) {
  DeviceSettings settings;
  settings.inhibitTime = static_cast<uint16_t>(Uniform(random, 0, 400));
  settings.adcOffset = Uniform(random, -128, 127);
  settings.lineAMode = static_cast<LineMode>(Uniform(random, 0, 3));
  settings.lineBMode = static_cast<LineMode>(Uniform(random, 0, 3));
  settings.lineAValue = static_cast<uint16_t>(Uniform(random, 0, 65535));
  settings.lineBValue = static_cast<uint16_t>(Uniform(random, 0, 65535));
  return settings.Packed();
}

// A few blocks, some of them erased so that the update skips them.
std::vector<uint8_t> DrawFirmware(std::mt19937& random) {
  std::vector<uint8_t> plain(static_cast<size_t>(Uniform(random, 1, kMostFirmwareBlocks * kFirmwareBlockSize)));
  for (uint8_t& byte : plain) byte = static_cast<uint8_t>(Uniform(random, 0, 255));
  for (size_t start = 0; start < plain.size(); start += kFirmwareBlockSize) {
    if (!Chance(random, 0.2)) continue;
    std::fill(plain.begin() + static_cast<std::ptrdiff_t>(start),
              plain.begin() + static_cast<std::ptrdiff_t>(std::min(plain.size(), start + kFirmwareBlockSize)),
              kErasedFlashByte);
  }
  return plain;
}

CampaignEvent DrawEventKind(std::mt19937& random) {
  // Arrivals twice as often: they are what once broke running jobs.
  static const CampaignEvent kinds[] = {
      CampaignEvent::OtherArrival, CampaignEvent::OtherArrival,    CampaignEvent::OtherRemoval,
      CampaignEvent::VolumeNotice, CampaignEvent::SecondAltimeter, CampaignEvent::SecondAltimeter,
      CampaignEvent::OurRemoval,   CampaignEvent::Replug,          CampaignEvent::Fault,
      CampaignEvent::Cancel,
  };
  return kinds[Uniform(random, 0, static_cast<int>(std::size(kinds)) - 1)];
}

int DrawVariant(std::mt19937& random, CampaignEvent kind, bool bootloaderJob) {
  switch (kind) {
    case CampaignEvent::Fault: {
      const CampaignFault deviceFault = bootloaderJob ? CampaignFault::RejectedBlock : CampaignFault::WrongCompletion;
      const CampaignFault faults[] = {CampaignFault::Silence, CampaignFault::RemovalWithoutNotice, deviceFault,
                                      CampaignFault::OutOfMemory};
      return static_cast<int>(faults[Uniform(random, 0, 3)]);
    }
    case CampaignEvent::Cancel:
      return bootloaderJob ? 0 : Uniform(random, 0, 1);  // Update Firmware refuses to close during its job
    case CampaignEvent::OtherArrival:
    case CampaignEvent::OtherRemoval:
      return 0;
    default:
      return Uniform(random, 0, 1);
  }
}

int UsedBlocksOf(const std::vector<std::vector<uint16_t>>& flights) {
  int blocks = 0;
  for (const auto& words : flights) blocks += static_cast<int>(PacketsOfSet(words).size());
  return std::min(blocks, kMemoryBlocks);
}

int NonEmptyFirmwareBlocks(const std::vector<uint8_t>& plain) {
  const FirmwareImage image = *FirmwareImage::FromPlain(plain);
  int blocks = 0;
  for (int index = 0; index <= image.LastBlockIndex(); ++index) blocks += image.IsBlockEmpty(index) ? 0 : 1;
  return blocks;
}

const char* JobName(CampaignJob job) {
  static const char* const names[] = {"download",  "clear",           "read settings", "write settings",
                                      "calibrate", "update firmware", "emulate launch"};
  return names[static_cast<int>(job)];
}

std::string EventName(const ScriptedEvent& event) {
  static const char* const kinds[] = {"other arrival", "other removal", "volume", "second altimeter",
                                      "our removal",   "re-plug",       "fault",  "cancel"};
  // What variant 1 means, by kind; faults are named instead.
  static const char* const variants[] = {
      "", "", "removal", "in bootloader mode", "named in capitals", "named in capitals", "", "by closing the dialog"};
  static const char* const faults[] = {"silence", "removal without notice", "wrong completion", "rejected block",
                                       "out of memory"};
  const auto kind = static_cast<size_t>(event.kind);
  std::string name = kinds[kind];
  if (event.kind == CampaignEvent::Fault) return name + " (" + faults[event.variant] + ")";
  return event.variant == 1 ? name + " (" + variants[kind] + ")" : name;
}

}  // namespace

int CampaignScript::JobTransfers() const {
  switch (job) {
    case CampaignJob::Download: {
      // The settings first, the reset, then up to the erased block.
      const int used = UsedBlocksOf(flights);
      return kSettingsTransfers + 1 + kReadBlockTransfers * std::min(used + 1, kMemoryBlocks);
    }
    case CampaignJob::Clear:
      return kClearTransfers;
    case CampaignJob::ReadSettings:
      return kSettingsTransfers;
    case CampaignJob::WriteSettings:
      return kClearTransfers + kSettingsTransfers;
    case CampaignJob::Calibrate:
      // Cleared, the record read, the sensor read, then written as Write Settings does.
      return kClearTransfers + kSettingsTransfers + kValueReadTransfers + kClearTransfers + kSettingsTransfers;
    case CampaignJob::UpdateFirmware:
      return 2 + kFirmwareBlockTransfers * NonEmptyFirmwareBlocks(firmware);  // the hardware query first
    case CampaignJob::EmulateLaunch:
      return 2 + 2 * emulationSamples + 2;  // command and request, each sample and request, reset and completion
  }
  return 0;
}

std::string CampaignScript::Describe() const {
  std::ostringstream text;
  text << JobName(job) << (usedBackend ? ", used backend" : ", fresh backend");
  if (job == CampaignJob::Download || job == CampaignJob::Clear) {
    text << ", " << flights.size() << " flights in " << UsedBlocksOf(flights) << " blocks";
  }
  if (job == CampaignJob::UpdateFirmware) text << ", firmware of " << firmware.size() << " bytes";
  if (job == CampaignJob::EmulateLaunch) text << ", " << emulationSamples << " samples";
  text << ", " << JobTransfers() << " transfers; events:";
  for (const ScriptedEvent& event : events) text << " [at " << event.transfer << ": " << EventName(event) << "]";
  if (lateEventsBeforeJobEnded) text << "; those not reached before the job's end is handled";
  return text.str();
}

CampaignScript DrawScript(std::mt19937& random) {
  CampaignScript script;
  script.job = static_cast<CampaignJob>(Uniform(random, 0, static_cast<int>(CampaignJob::EmulateLaunch)));
  script.usedBackend = Chance(random, 0.5);
  script.flights.resize(static_cast<size_t>(Uniform(random, 0, kMostFlights)));
  for (auto& flight : script.flights) flight = DrawFlight(random);
  script.deviceSettings = DrawSettings(random);
  script.settingsToWrite = DrawSettings(random);
  script.groundAltitude = Uniform(random, 0, 3000);
  script.sensorError = Uniform(random, -40, 40);
  script.firmware = DrawFirmware(random);
  script.emulationSamples = Uniform(random, 0, kMostEmulationSamples);
  script.emulationSample = static_cast<uint16_t>(Uniform(random, 700, 900));

  // Mostly within the job; now and then just past it, with the dialog idle again.
  const int transfers = script.JobTransfers();
  script.events.resize(static_cast<size_t>(Uniform(random, 1, kMostEvents)));
  for (ScriptedEvent& event : script.events) {
    event.transfer = Uniform(random, 0, transfers);
    event.kind = DrawEventKind(random);
    event.variant = DrawVariant(random, event.kind, script.BootloaderJob());
  }
  std::stable_sort(script.events.begin(), script.events.end(),
                   [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.transfer < b.transfer; });
  script.lateEventsBeforeJobEnded = Chance(random, 0.5);
  return script;
}

CampaignScript ScriptOf(uint32_t seed, int interleaving) {
  std::seed_seq seeds{seed, static_cast<uint32_t>(interleaving)};
  std::mt19937 random(seeds);
  return DrawScript(random);
}
