#pragma once
// The altimeter as a user handles it on the bench, plugged into a port: the
// faults one arms for its next operation, and the pace of the real device.
// The simulated port (sim/SimUsbPort.h) and the gadget that serves the same
// altimeter over a real USB stack (tools/zelgadget) both plug in this one.
#include <atomic>
#include <cstdint>

#include "sim/SimAltimeter.h"

enum class SimPortMode { Application, Bootloader };

enum class SimFault {
  None,
  Silence,             // the device stops answering until it is plugged in again
  RemovalMidTransfer,  // it is pulled out a few reports into the next operation
  WrongCode,           // the next operation ends with a completion of the wrong code
  PressureReadFails,   // the next pressure read is answered with a wrong code, as by a failed sensor
};

// USB moves one report of the real device per 1 ms frame each way.
constexpr unsigned kPortReportIntervalMs = 1;
// Far enough into any command to be in mid-transfer: after its reset and
// command reports, at its first reply.
constexpr int kTransfersBeforeRemoval = 2;

// Silence and removal are faults of the link, which the port arms; the
// faults of the answers, a wrong code and a failed pressure sensor, live here.
class PortAltimeter : public SimAltimeter {
 public:
  // Arms the answer faults `fault` stands for and disarms every other.
  void ArmFault(SimFault fault);
  void ClearAllFaults();
  // A pressure read's value reply, the next one sent, gets the wrong code.
  void OnHostReport(const Report& report, ReportSink& replies) override;

 private:
  std::atomic<bool> failNextPressureRead_{false};
};
