// The bench commands of the altimeter (pressure, battery, firing the lines)
// and the launch emulation, in which the device asks for recorded samples.
#include <chrono>
#include <thread>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"

namespace {

constexpr auto kEmulationPause = std::chrono::milliseconds(10);
constexpr int kRequestsPerEvent = 10;  // one sample request in ten is reported

}  // namespace

int AltimeterLink::ReadPressureAdc(uint16_t& adc) { return ReadDeviceValue(DeviceCode::ReadPressure, adc, false); }

int AltimeterLink::ReadBatteryVoltage(uint16_t& tenthsOfVolt) {
  return ReadDeviceValue(DeviceCode::ReadBattery, tenthsOfVolt, true);
}

int AltimeterLink::ReadDeviceValue(DeviceCode command, uint16_t& value, bool logDone) {
  if (bootloaderMode) return kUnexpectedReply;
  cancelRequested = false;
  DiscardStaleReplies();
  return Finish(ReadDeviceValueSequence(command, value, logDone));
}

int AltimeterLink::ReadDeviceValueSequence(DeviceCode command, uint16_t& value, bool logDone) {
  if (!ResetAndSend(command)) return kCommandNotSent;
  DebugLog << "Reading data..." << std::endl;
  uint8_t code = 0;
  uint16_t reply = 0;
  if (!ReadReply(reply, &code, kReportTimeoutMs)) return kCommandNotSent;
  if (code != CodeByte(DeviceCode::Data)) return kUnexpectedReply;
  value = reply;
  DebugLog << "Reading completion code..." << std::endl;
  const int result = ReadCompletion(kCommandNotSent);
  if (logDone && result != kCommandNotSent) DebugLog << "Done." << std::endl;
  return result;
}

int AltimeterLink::FireLines() {
  if (bootloaderMode) return kUnexpectedReply;
  cancelRequested = false;
  DiscardStaleReplies();
  return Finish(FireLinesSequence());
}

int AltimeterLink::FireLinesSequence() {
  if (!ResetAndSend(DeviceCode::FireLines)) return kCommandNotSent;
  DebugLog << "Reading completion code..." << std::endl;
  return ReadCompletion(kCommandNotSent);
}

bool AltimeterLink::ResetAndSend(DeviceCode command) {
  DebugLog << "Resetting device..." << std::endl;
  if (!ResetDevice()) return false;
  DebugLog << "Sending command..." << std::endl;
  return SendCommand(0, command, kReportTimeoutMs);
}

bool AltimeterLink::EmulateLaunch(EmulationEventFn onEvent, void* context) {
  if (bootloaderMode) return false;
  cancelRequested = false;
  DebugLog << "Emulating Launch..." << std::endl;
  std::vector<int32_t> samples;
  {
    const auto lock = LockData();
    samples = currentSet.adc;
  }
  DiscardStaleReplies();
  const bool ended = EmulationSequence(samples, onEvent, context);
  // A cancelled emulation leaves the device's closing completion unread.
  repliesMayBeStale_ = !ended || cancelRequested;
  return ended;
}

bool AltimeterLink::EmulationSequence(const std::vector<int32_t>& samples, EmulationEventFn onEvent, void* context) {
  if (!SendCommand(0, DeviceCode::EmulateLaunch, kReportTimeoutMs)) {
    DebugLog << "Write Error." << std::endl;
    return false;
  }
  size_t sent = 0;
  for (;;) {
    std::this_thread::sleep_for(kEmulationPause);
    uint16_t value = 0;
    uint8_t code = 0;
    if (!ReadReply(value, &code, kEmulationReplyTimeoutMs)) {
      DebugLog << "Read Error." << std::endl;
      return false;
    }
    const bool request = code == CodeByte(DeviceCode::AdcRequest);
    if (onEvent != nullptr && (!request || sent % kRequestsPerEvent == 0)) {
      onEvent(context, code, static_cast<int>(sent));
    }
    if (request) {
      DebugLog << "The device is requesting ADC data. Data: ";
      if (sent == samples.size()) return FinishEmulation("End of available data.");
      const auto sample = static_cast<uint16_t>(samples[sent++]);
      DebugLog << sample << std::endl;
      if (cancelRequested) return EndEmulationOnRequest();
      if (!SendCommand(sample, DeviceCode::AdcData, kReportTimeoutMs)) {
        DebugLog << "Write Error" << std::endl;
        return false;
      }
    } else if (!LogEmulationEvent(code, value)) {
      const bool ended = code == CodeByte(DeviceCode::EndOfLaunch);
      return FinishEmulation(ended ? "Device indicates end of launch." : "Unknown code received.");
    }
  }
}

// False for a code that ends the emulation.
bool AltimeterLink::LogEmulationEvent(uint8_t code, uint16_t value) {
  switch (static_cast<DeviceCode>(code)) {
    case DeviceCode::LaunchDetected:
      DebugLog << "Launch detected." << std::endl;
      return true;
    case DeviceCode::LineAFired:
      DebugLog << "Line A fired." << std::endl;
      return true;
    case DeviceCode::LineBFired:
      DebugLog << "Line B fired." << std::endl;
      return true;
    case DeviceCode::Apogee:
      DebugLog << "Apogee!" << std::endl;
      DebugLog << "Slope: " << static_cast<int16_t>(value) << std::endl;
      return true;
    default:
      return false;
  }
}

bool AltimeterLink::FinishEmulation(const char* line) {
  DebugLog << line << std::endl;
  if (!ResetDevice()) return false;
  uint16_t value = 0;
  uint8_t code = 0;
  if (!ReadReply(value, &code, kEmulationReplyTimeoutMs)) {
    DebugLog << "Read Error." << std::endl;
    return false;
  }
  return code == CodeByte(DeviceCode::Complete);
}

bool AltimeterLink::EndEmulationOnRequest() {
  DebugLog << "User ended emulation." << std::endl;
  DebugLog << "Reseting device." << std::endl;
  return ResetDevice();
}
