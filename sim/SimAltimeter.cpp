#include "sim/SimAltimeter.h"

#include <cmath>
#include <utility>

#include "device/AltimeterLink.h"
#include "sim/PressureSensor.h"

namespace {

constexpr uint8_t kCompleteCode = CodeByte(DeviceCode::Complete);

}  // namespace

SimAltimeter::SimAltimeter(const FlightMemory& memory) : memory_(memory), settingsImage_(DeviceSettings().image) {}

void SimAltimeter::LoadMemory(const FlightMemory& memory) {
  std::lock_guard<std::mutex> lock(mutex_);
  memory_ = memory;
}

FlightMemory SimAltimeter::Memory() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return memory_;
}

std::array<uint8_t, DeviceSettings::kImageSize> SimAltimeter::SettingsImage() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return settingsImage_;
}

void SimAltimeter::SetSettingsImage(const std::array<uint8_t, DeviceSettings::kImageSize>& image) {
  std::lock_guard<std::mutex> lock(mutex_);
  settingsImage_ = image;
}

void SimAltimeter::SetGroundAltitude(double metresAboveSeaLevel) {
  std::lock_guard<std::mutex> lock(mutex_);
  groundAltitude_ = metresAboveSeaLevel;
}

void SimAltimeter::SetSensorErrorCounts(int32_t counts) {
  std::lock_guard<std::mutex> lock(mutex_);
  sensorErrorCounts_ = counts;
}

void SimAltimeter::SetBatteryVoltage(double volts) {
  std::lock_guard<std::mutex> lock(mutex_);
  batteryTenths_ = static_cast<uint16_t>(std::lround(std::fmax(0.0, volts) * 10.0));
}

int SimAltimeter::LineAFirings() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lineAFirings_;
}

int SimAltimeter::LineBFirings() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lineBFirings_;
}

bool SimAltimeter::Emulating() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return awaiting_ == Awaiting::Sample;
}

void SimAltimeter::SetReplyCodeAt(int n, uint8_t code) {
  std::lock_guard<std::mutex> lock(mutex_);
  replyCodeAt_ = repliesSent_ + n;
  replyCode_ = code;
}

void SimAltimeter::SetStrayReplyAt(int n, uint8_t code) {
  std::lock_guard<std::mutex> lock(mutex_);
  strayReplyAt_ = repliesSent_ + n;
  strayCode_ = code;
}

void SimAltimeter::SetEarlyCompletionAt(int n) {
  std::lock_guard<std::mutex> lock(mutex_);
  earlyCompletionAt_ = repliesSent_ + n;
}

void SimAltimeter::SetNextCompletionCode(uint8_t code) {
  std::lock_guard<std::mutex> lock(mutex_);
  nextCompletionCode_ = code;
}

void SimAltimeter::ClearFaults() {
  std::lock_guard<std::mutex> lock(mutex_);
  replyCodeAt_ = strayReplyAt_ = earlyCompletionAt_ = -1;
  nextCompletionCode_.reset();
}

int SimAltimeter::RepliesSent() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return repliesSent_;
}

void SimAltimeter::OnHostReport(const Report& report, ReportSink& replies) {
  if (report.size() != kApplicationReportLength || report[0] != 0x00) return;
  const auto value = static_cast<uint16_t>(report[1] | (report[2] << 8));
  const auto code = static_cast<DeviceCode>(report[3]);
  std::lock_guard<std::mutex> lock(mutex_);
  Emit(OnReport(code, value), replies);
}

// What a report means depends on what the device waits for; any other report
// is taken as a new command, and what was going on is dropped.
SimAltimeter::Replies SimAltimeter::OnReport(DeviceCode code, uint16_t value) {
  const Awaiting awaited = awaiting_;
  awaiting_ = Awaiting::Command;
  if (code == DeviceCode::Reset) return awaited == Awaiting::Sample ? OnReset() : Replies{};
  if (awaited == Awaiting::BlockIndex && code == DeviceCode::ReadBlock) return OnBlockIndex(value);
  if (awaited == Awaiting::SettingsByte && code == DeviceCode::Data) return OnSettingsByte(value);
  if (awaited == Awaiting::Sample && code == DeviceCode::AdcData) return OnSample(value);
  emulation_.reset();
  return OnCommand(code);
}

// A reset ends a running emulation, which closes with its completion.
SimAltimeter::Replies SimAltimeter::OnReset() {
  emulation_.reset();
  return {{0, kCompleteCode}};
}

SimAltimeter::Replies SimAltimeter::OnCommand(DeviceCode code) {
  switch (code) {
    case DeviceCode::ReadBlock:
      awaiting_ = Awaiting::BlockIndex;
      return {};
    case DeviceCode::ReadSettings: {
      Replies replies;
      for (uint8_t byte : settingsImage_) replies.push_back({byte, CodeByte(DeviceCode::Data)});
      replies.push_back({0, kCompleteCode});
      return replies;
    }
    case DeviceCode::WriteSettings:
      awaiting_ = Awaiting::SettingsByte;
      settingsBytesReceived_ = 0;
      return {};
    case DeviceCode::ClearData:
      memory_ = ErasedMemory();
      return {{0, kCompleteCode}};
    case DeviceCode::ReadPressure: {
      PressureSensor sensor(0.0, sensorErrorCounts_);
      return ValueAndCompletion(static_cast<uint16_t>(sensor.Read(groundAltitude_)));
    }
    case DeviceCode::ReadBattery:
      return ValueAndCompletion(batteryTenths_);
    case DeviceCode::FireLines:
      ++lineAFirings_;
      ++lineBFirings_;
      return {{0, kCompleteCode}};
    case DeviceCode::EmulateLaunch:
      emulation_.emplace(FlightRules::FromImage(settingsImage_));
      awaiting_ = Awaiting::Sample;
      return {{0, CodeByte(DeviceCode::AdcRequest)}};
    default:
      return {};
  }
}

SimAltimeter::Replies SimAltimeter::OnBlockIndex(uint16_t block) const {
  if (block >= memory_.size()) return {{0, kCompleteCode}};  // no such block: nothing but the end
  const DataPacket& packet = memory_[block];
  const uint8_t wordCode = CodeByte(DeviceCode::DataWord);
  Replies replies{{static_cast<uint16_t>(packet.kind | (packet.secondByte << 8)), wordCode}};
  for (int k = 0; k < kWordsPerPacket; ++k) replies.push_back({packet.Word(k), wordCode});
  replies.push_back({0, kCompleteCode});
  return replies;
}

SimAltimeter::Replies SimAltimeter::OnSettingsByte(uint16_t value) {
  incomingImage_[settingsBytesReceived_++] = static_cast<uint8_t>(value & 0xFF);
  if (settingsBytesReceived_ < incomingImage_.size()) {
    awaiting_ = Awaiting::SettingsByte;
    return {};
  }
  settingsImage_ = incomingImage_;
  return {{0, kCompleteCode}};
}

SimAltimeter::Replies SimAltimeter::OnSample(uint16_t value) {
  const FlightEvents events = emulation_->Step(value & 0x3FF);
  Replies replies;
  if (events.launch) replies.push_back({0, CodeByte(DeviceCode::LaunchDetected)});
  if (events.apogee) replies.push_back({static_cast<uint16_t>(events.slope), CodeByte(DeviceCode::Apogee)});
  if (events.lineAFired) {
    ++lineAFirings_;
    replies.push_back({0, CodeByte(DeviceCode::LineAFired)});
  }
  if (events.lineBFired) {
    ++lineBFirings_;
    replies.push_back({0, CodeByte(DeviceCode::LineBFired)});
  }
  if (events.landed) {
    emulation_.reset();
    replies.push_back({0, CodeByte(DeviceCode::EndOfLaunch)});
    replies.push_back({0, kCompleteCode});
    return replies;
  }
  awaiting_ = Awaiting::Sample;
  replies.push_back({0, CodeByte(DeviceCode::AdcRequest)});
  return replies;
}

SimAltimeter::Replies SimAltimeter::ValueAndCompletion(uint16_t value) const {
  return {{value, CodeByte(DeviceCode::Data)}, {0, kCompleteCode}};
}

void SimAltimeter::Emit(const Replies& replies, ReportSink& sink) {
  for (const Reply& reply : replies) {
    const int n = repliesSent_++;
    if (n == strayReplyAt_) Send(0, strayCode_, sink);
    if (n == earlyCompletionAt_) {
      Send(0, kCompleteCode, sink);
      awaiting_ = Awaiting::Command;
      emulation_.reset();
      return;
    }
    uint8_t code = n == replyCodeAt_ ? replyCode_ : reply.code;
    if (code == kCompleteCode && nextCompletionCode_) code = *std::exchange(nextCompletionCode_, std::nullopt);
    Send(reply.value, code, sink);
  }
}

void SimAltimeter::Send(uint16_t value, uint8_t code, ReportSink& sink) {
  sink.Send(Report{0x00, static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8), code});
}

std::shared_ptr<SimInterface> PlugSimAltimeter(SimHidBackend& backend, std::shared_ptr<SimAltimeter> altimeter,
                                               uint16_t version, int instance) {
  return backend.Plug(SimInterfacePath(kAltimeterVendorId, kApplicationProductId, instance),
                      {kAltimeterVendorId, kApplicationProductId, version}, std::move(altimeter));
}
