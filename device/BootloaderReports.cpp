#include "device/BootloaderReports.h"

#include "base/DebugLog.h"
#include "device/LittleEndian.h"

BootloaderReport CodeReport(uint8_t code) {
  BootloaderReport report{};
  report[1] = code;
  return report;
}

bool SendBootloaderReport(HidDevice& device, const BootloaderReport& report) {
  if (device.WriteReport(report.data(), report.size(), kReportTimeoutMs)) return true;
  DebugLog << "Failed to write." << std::endl;
  return false;
}

bool ReceiveBootloaderReport(HidDevice& device, BootloaderReport& answer) {
  answer.fill(0);
  if (device.ReadReport(answer.data(), answer.size(), kReportTimeoutMs)) return true;
  DebugLog << "Failed to read." << std::endl;
  return false;
}

bool QueryHardwareVersion(HidDevice& device, uint16_t& version) {
  BootloaderReport answer;
  if (!SendBootloaderReport(device, CodeReport(kHardwareQueryCode)) || !ReceiveBootloaderReport(device, answer)) {
    return false;
  }
  version = ReadLittleEndian16(&answer[1]);
  return true;
}
