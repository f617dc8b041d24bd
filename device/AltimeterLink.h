#pragma once
// The state of the whole program and every operation on the altimeter: the
// connection, the settings record, the downloaded packets with their comments,
// the selected data set, the live trace, and the graph's view range.
//
// Threads: a tool dialog runs one device operation at a time on a worker
// thread while the main thread draws. `cancelRequested` is the only stop signal.
#include <atomic>
#include <cstdint>

#include "device/HidDevice.h"

constexpr uint16_t kAltimeterVendorId = 0x03DB;
constexpr uint16_t kApplicationProductId = 0x0002;
constexpr uint16_t kBootloaderProductId = 0x0001;
constexpr size_t kApplicationReportLength = 4;
constexpr size_t kBootloaderReportLength = 65;

class AltimeterLink {
 public:
  explicit AltimeterLink(HidBackend& backend);
  AltimeterLink(const AltimeterLink&) = delete;
  AltimeterLink& operator=(const AltimeterLink&) = delete;

  // Finds and opens the altimeter in application mode (product 0x0002, family
  // 1.4x) or bootloader mode (product 0x0001, family 1.0x); closes what was open first.
  //   1  connected; bootloaderMode equals the mode asked for
  //  -1  no device of that mode is present
  //  -2  a compatible device is present but could not be opened
  //  -3  devices of that mode are present, none of a compatible version family
  // `foundVersion`, when given, receives the version of the device chosen (for -3,
  // of the first one found).
  int Connect(uint16_t* foundVersion, bool bootloader);
  bool IsConnected() const;
  bool IsBootloaderMode() const;
  void Disconnect();
  void RequestCancel();

  HidDevice device;
  std::atomic<bool> cancelRequested{false};
  std::atomic<bool> bootloaderMode{false};

 private:
  HidBackend& backend_;
};
