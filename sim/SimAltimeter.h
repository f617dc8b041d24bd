#pragma once
// The altimeter in application mode, as its firmware answers the 4-byte
// command reports: the flight memory of 128 blocks, the settings image (kept
// across commands as the host wrote it), the pressure sensor at a ground
// altitude, the battery, the two ejection lines and the launch emulation, in
// which it asks for samples and runs its flight logic (sim/FlightComputer.h)
// on them. It answers only what the real device would: a command it does not
// know, or a report out of turn, gets no answer.
//
// Faults of the link itself (silence from the n-th report read, removal in mid
// transfer, a delay per report) are knobs of the SimInterface it is plugged in
// as; faults of the device's answers are knobs here. Reply numbers count the
// reports this device sends, 0 being the next one sent after the knob is set.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "device/DeviceCode.h"
#include "data/DeviceSettings.h"
#include "sim/FlightComputer.h"
#include "sim/FlightMemory.h"
#include "sim/SimHidBackend.h"

constexpr uint16_t kSimFirmwareVersion = 0x0141;

class SimAltimeter : public SimDeviceModel {
 public:
  explicit SimAltimeter(const FlightMemory& memory = ErasedMemory());

  // ---- The device ----
  void LoadMemory(const FlightMemory& memory);
  FlightMemory Memory() const;
  // The settings image as stored, checksum included; the defaults at first.
  std::array<uint8_t, DeviceSettings::kImageSize> SettingsImage() const;
  void SetSettingsImage(const std::array<uint8_t, DeviceSettings::kImageSize>& image);
  // Where the altimeter lies: the pressure read answers the count of this
  // altitude, steady, plus the sensor's error.
  void SetGroundAltitude(double metresAboveSeaLevel);
  void SetSensorErrorCounts(int32_t counts);
  // The battery read answers the voltage in tenths of a volt, rounded.
  void SetBatteryVoltage(double volts);
  // How often each line was fired, by the fire command or in an emulation.
  int LineAFirings() const;
  int LineBFirings() const;
  // Whether a launch emulation is running (the device waits for samples).
  bool Emulating() const;

  // ---- Faults of its answers ----
  // Reply n comes with `code` instead of its own (its value kept).
  void SetReplyCodeAt(int n, uint8_t code);
  // A stray reply (value 0, `code`) is sent just before reply n; it is not counted.
  void SetStrayReplyAt(int n, uint8_t code);
  // Reply n is a completion (code 5) and the command ends there.
  void SetEarlyCompletionAt(int n);
  // The next completion this device sends comes with `code` instead: whatever
  // command runs next ends with a wrong code.
  void SetNextCompletionCode(uint8_t code);
  void ClearFaults();
  int RepliesSent() const;

  void OnHostReport(const Report& report, ReportSink& replies) override;

 private:
  struct Reply {
    uint16_t value;
    uint8_t code;
  };
  using Replies = std::vector<Reply>;
  enum class Awaiting { Command, BlockIndex, SettingsByte, Sample };

  Replies OnCommand(DeviceCode code);
  Replies OnReport(DeviceCode code, uint16_t value);
  Replies OnReset();
  Replies OnBlockIndex(uint16_t block) const;
  Replies OnSettingsByte(uint16_t value);
  Replies OnSample(uint16_t value);
  Replies ValueAndCompletion(uint16_t value) const;
  void Emit(const Replies& replies, ReportSink& sink);
  void Send(uint16_t value, uint8_t code, ReportSink& sink);

  mutable std::mutex mutex_;
  FlightMemory memory_;
  std::array<uint8_t, DeviceSettings::kImageSize> settingsImage_;
  double groundAltitude_ = 150.0;
  int32_t sensorErrorCounts_ = 0;
  uint16_t batteryTenths_ = 90;
  int lineAFirings_ = 0;
  int lineBFirings_ = 0;

  Awaiting awaiting_ = Awaiting::Command;
  size_t settingsBytesReceived_ = 0;
  std::array<uint8_t, DeviceSettings::kImageSize> incomingImage_{};
  std::optional<FlightComputer> emulation_;

  int repliesSent_ = 0;
  int replyCodeAt_ = -1;
  uint8_t replyCode_ = 0;
  int strayReplyAt_ = -1;
  uint8_t strayCode_ = 0;
  int earlyCompletionAt_ = -1;
  std::optional<uint8_t> nextCompletionCode_;
};

// Plugs `altimeter` in as vendor 0x03DB, product 0x0002 with the version given.
std::shared_ptr<SimInterface> PlugSimAltimeter(SimHidBackend& backend, std::shared_ptr<SimAltimeter> altimeter,
                                               uint16_t version = kSimFirmwareVersion, int instance = 0);
