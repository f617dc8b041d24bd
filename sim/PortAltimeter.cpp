#include "sim/PortAltimeter.h"

#include "device/AltimeterLink.h"

namespace {

constexpr uint8_t kWrongCode = CodeByte(DeviceCode::WriteSettings);

bool IsPressureRead(const Report& report) {
  return report.size() == kApplicationReportLength && report[3] == CodeByte(DeviceCode::ReadPressure);
}

}  // namespace

void PortAltimeter::ArmFault(SimFault fault) {
  ClearAllFaults();
  failNextPressureRead_ = fault == SimFault::PressureReadFails;
  if (fault == SimFault::WrongCode) SetNextCompletionCode(kWrongCode);
}

void PortAltimeter::ClearAllFaults() {
  ClearFaults();
  failNextPressureRead_ = false;
}

void PortAltimeter::OnHostReport(const Report& report, ReportSink& replies) {
  if (IsPressureRead(report) && failNextPressureRead_.exchange(false)) SetReplyCodeAt(0, kWrongCode);
  SimAltimeter::OnHostReport(report, replies);
}
