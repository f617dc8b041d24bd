#pragma once
// The application-mode command protocol of the altimeter: the codes carried in
// byte 3 of every 4-byte report, the results of the operations that use them,
// and how long each report may take.
#include <cstdint>

enum class DeviceCode : uint8_t {
  Data = 0,            // a report that only carries a value (settings byte, pressure, battery)
  Reset = 1,           // host: back to the command state; no reply
  ReadBlock = 2,       // host: sent twice, value 0, then the block index
  ReadPressure = 3,    // host: answer the raw pressure ADC count
  EmulateLaunch = 4,   // host: start a launch emulation led by the device
  Complete = 5,        // device: the last reply of every command
  ClearData = 6,       // host: erase the recorded flights
  ReadBattery = 7,     // host: answer the battery voltage in tenths of a volt
  ReadSettings = 8,    // host: send the 16-byte settings image
  WriteSettings = 9,   // host: receive a 16-byte settings image
  FireLines = 10,      // host: fire both ejection outputs for 2 s
  DataWord = 11,       // device: one 16-bit word of a memory block
  AdcRequest = 13,     // device, emulation: send the next pressure sample
  LaunchDetected = 14, // device, emulation
  LineAFired = 15,     // device, emulation
  LineBFired = 16,     // device, emulation
  Apogee = 17,         // device, emulation: the value is the slope, signed
  EndOfLaunch = 19,    // device, emulation
  AdcData = 20,        // host, emulation: one raw 10-bit pressure sample
};

constexpr uint8_t CodeByte(DeviceCode code) { return static_cast<uint8_t>(code); }

// The flight memory as the protocol reads it: blocks of a header word (its low
// byte the packet kind) and 31 sample words.
constexpr int kMemoryBlocks = 128;
constexpr int kWordsPerBlock = 32;

// Results of the command operations of AltimeterLink.
constexpr int kCommandOk = 0;
constexpr int kTransferFailed = -1;   // a report in mid-transfer, or the completion, did not move in time
constexpr int kCommandCancelled = -2; // cancelRequested seen (ReadData only)
constexpr int kUnexpectedReply = -3;  // bootloader mode, an early completion or a wrong code
constexpr int kCommandNotSent = -5;   // the reset or the command report could not be written,
                                      // or a control command's value reply did not come

constexpr unsigned kReportTimeoutMs = 3000;
constexpr unsigned kEmulationReplyTimeoutMs = 20000;  // the device paces the emulation
