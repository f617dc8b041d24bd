#pragma once
// The state of the whole program and every operation on the altimeter: the
// connection, the settings record, the downloaded packets with their comments,
// the selected data set, the live trace, and the graph's view range.
//
// Threads: a tool dialog runs one device operation at a time on a worker
// thread while the main thread draws. `cancelRequested` is the only stop signal.
#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <mutex>
#include <string>
#include <vector>

#include "data/DataPacket.h"
#include "data/DataSet.h"
#include "data/FastSet.h"
#include "data/ViewRange.h"
#include "device/DeviceCode.h"
#include "data/DeviceSettings.h"
#include "device/HidDevice.h"

constexpr uint16_t kAltimeterVendorId = 0x03DB;
constexpr uint16_t kApplicationProductId = 0x0002;
constexpr uint16_t kBootloaderProductId = 0x0001;
constexpr size_t kApplicationReportLength = 4;
constexpr size_t kBootloaderReportLength = 65;

// Told of each block index of a firmware update before the block is looked at
// (empty blocks included), on the thread running the update.
using FirmwareProgressFn = void (*)(void* context, int blockIndex, int lastBlockIndex);

// Told of the progress of a download on the thread running it: at the first
// word of each block (inBlock true, setStart when the block starts a set), at
// every fifth word after it (inBlock true) and when the block is kept (both false).
using ReadProgressFn = void (*)(void* context, int blockIndex, bool inBlock, bool setStart);

// Told of each code the device sends during a launch emulation, with the
// number of samples sent so far; a sample request (13) only when that number
// is a multiple of 10.
using EmulationEventFn = void (*)(void* context, int code, int samplesSent);

class AltimeterLink {
 public:
  explicit AltimeterLink(HidBackend& backend);
  AltimeterLink(const AltimeterLink&) = delete;
  AltimeterLink& operator=(const AltimeterLink&) = delete;

  // Finds and opens the altimeter in application mode (product 0x0002, family
  // 1.4x) or bootloader mode (product 0x0001, family 1.0x); closes what was
  // open first and clears bootloaderMode, so a failure leaves it disconnected.
  // Before it is reported the device is brought to a known state, whatever it
  // was doing: in application mode it is reset, what it still sends is drained
  // (until 50 ms of quiet, half a second at most) and its version is queried
  // again; in bootloader mode it is drained and answers the hardware query,
  // unless an update on this link was cut in the middle of a block and the
  // device has not been removed since (the query would be flashed as its rest).
  //   1  connected; bootloaderMode equals the mode asked for, and the first
  //      command finds the device in its command state
  //  -1  no device of that mode is present
  //  -2  a compatible device is present but could not be opened, or did not
  //      take the reset or answer the version query (application mode) or the
  //      hardware query (bootloader mode); logged, nothing is left open
  //  -3  devices of that mode are present, none of a compatible version family
  // `foundVersion`, when given, receives the version of the device chosen (for
  // 1, as the version query answered; for -3, of the first one found).
  int Connect(uint16_t* foundVersion, bool bootloader);
  bool IsConnected() const;
  bool IsBootloaderMode() const;
  void Disconnect();
  void RequestCancel();
  // A device interface's removal was announced: a bootloader there that an
  // update left in the middle of a block may be talked to again once plugged
  // back in, which starts it afresh. Any thread.
  void InterfaceRemoved(const DeviceBroadcast& broadcast);

  // ---- Command protocol (application mode) ----
  // Every report may take 3000 ms (20000 ms for the device's replies during a
  // launch emulation); a transfer that times out is not retried. Results:
  //    0  success
  //   -1  a report in mid-transfer, or the completion, did not move in time
  //   -2  cancelled (ReadData only): cancelRequested was seen
  //   -3  bootloader mode (nothing is sent), or the device answered with an
  //       unexpected code: an early completion, or a completion other than 5
  //   -5  the reset or the command report could not be written; for the
  //       pressure, battery and fire commands also a missing reply
  // Replies left unread by a failed or cancelled command, those still on their
  // way included, are dropped before the next command starts: it waits until
  // the input has been quiet for 50 ms, for half a second at most.
  //
  // One 4-byte report: value little-endian in bytes 1 and 2, code in byte 3.
  bool SendCommand(uint16_t value, DeviceCode code, unsigned timeoutMs);
  // Reads one report; `code` may be null. On failure the outputs are untouched.
  bool ReadReply(uint16_t& value, uint8_t* code, unsigned timeoutMs);
  // Sends the reset that opens a command sequence; no reply is awaited.
  bool ResetDevice();
  // Fills settings.image from the device without parsing it (the caller runs
  // DeviceSettings::Parse). An early completion leaves the bytes before it.
  int ReadSettings();
  // Sends settings.image as it stands (the caller builds it first).
  int WriteSettings();
  // Downloads the flight memory block by block into packets, up to the first
  // erased block or all 128, feeding fastSet with every sample word; then
  // comments holds one empty string per set. packets and comments are emptied
  // first and filled under dataMutex, so a failed or cancelled download leaves
  // the blocks read before it. `progress` may be null.
  int ReadData(ReadProgressFn progress, void* context);
  // Erases the recorded flights; empties comments (in bootloader mode too)
  // and leaves packets alone.
  int ClearData();

  // ---- Control commands (application mode) ----
  // The raw 10-bit pressure count, without the calibration offset. `adc` is
  // set once a value reply (code 0) arrived, so also with -3 or -5 for a
  // wrong or missing completion; otherwise it is untouched.
  int ReadPressureAdc(uint16_t& adc);
  // The battery voltage in tenths of a volt (94 is 9.4 V); as ReadPressureAdc.
  int ReadBatteryVoltage(uint16_t& tenthsOfVolt);
  // The device fires both lines for 2 seconds.
  int FireLines();
  // Feeds the adc series of currentSet (copied at the start) to the device,
  // one sample per request, and reports the device's events to `onEvent`
  // (may be null) until the device ends the launch, the samples run out or an
  // unknown code arrives; then resets the device and reads its closing reply.
  //   true   the closing reply was a completion (5); after a cancel, the
  //          reset that ends the emulation was written
  //   false  bootloader mode, or a report could not be written or read
  bool EmulateLaunch(EmulationEventFn onEvent, void* context);

  // ---- Firmware update (bootloader mode) ----
  // Checks the firmware file at `path` (read in full, by its wide name on
  // Windows, before anything is sent) and the device, then writes the image in
  // ascending 64-byte blocks 0 to length / 64 (never past block 1023), skipping
  // blocks of all 0xFF; `progress` (may be null) hears of every block index.
  // The first failing check decides, in this order: -10, -6, -9 (magic), -8,
  // -9 (rest of the file missing, or the length), -11, -12, -7, -4 (hardware
  // query), -13, then per block -4 or -3.
  //    0  every non-empty block was written and accepted
  //   -3  a block answer other than 0x01
  //   -4  a report could not be written or read within 3000 ms
  //   -6  the file could not be opened
  //   -7  the device handles could not be opened
  //   -8  the file format version is not 0x0100
  //   -9  not a firmware file: wrong magic, cut short, or a length field of 0 or less
  //  -10  the link is not in bootloader mode
  //  -11  the file's bootloader version is not of family 1.0x
  //  -12  the file's firmware version is not of family 1.4x
  //  -13  the device's hardware version is not of family 1.2x
  // Each output (null: not wanted) is set as soon as its value is known, so the
  // caller can show the value that failed; outputs not reached keep their values.
  // cancelRequested is not looked at: a half-written firmware is worse than a wait.
  int UpdateFirmware(FirmwareProgressFn progress, void* context, const std::filesystem::path& path,
                     uint16_t* fileFormatVersion, uint16_t* hardwareVersion, uint16_t* bootloaderVersion,
                     uint16_t* firmwareVersion);

  // ---- Sets of the packet list ----
  // Each takes dataMutex itself; see the free functions of data/SetDirectory.h.
  int32_t CountSets() const;
  int32_t SetStartPacket(int32_t n) const;
  int32_t SetPacketCount(int32_t n) const;  // logs "Set: " and "Set Address: "
  int32_t SetOfPacket(int32_t i) const;
  // Rebuilds currentSet from set n with the adcOffset of settings (an empty
  // set when there is no set n). False, changing nothing, for n = -1.
  bool ComputeDataSet(int32_t n);
  // ComputeDataSet, then viewRange shows the whole set (RangeOfDataSet).
  // False, changing nothing, for n = -1.
  bool SelectDataSet(int32_t n);

  // Holds dataMutex, for callers that read several guarded members at once
  // (a drawing of currentSet in viewRange, a file save of packets and comments).
  // Do not call the operations above while holding it: they lock themselves.
  std::unique_lock<std::mutex> LockData() const;

  // ---- Data set files and exports ----
  // Each takes dataMutex itself. A file is written beside its target and moved
  // over it only when every byte was written, so a failed write never replaces
  // a good file with a truncated one.
  //
  // SaveDataSet: writes set `setNumber` (its packets, the settings image and
  // its comment) to a data set file.
  //   true   the file at `path` holds the set
  //   false  there is no such set, or the file could not be written in full;
  //          whatever stood at `path` before is unchanged
  bool SaveDataSet(const std::filesystem::path& path, int setNumber);
  // LoadDataSet: replaces packets, settings and comments (one entry) with the
  // file's content; currentSet is rebuilt only when the caller selects a set.
  //   true   loaded
  //   false  the file cannot be read, is not a data set file, has a version
  //          outside 1.0x, or is damaged (cut short, wrong settings checksum, a
  //          count or length beyond its end); nothing in memory has changed
  bool LoadDataSet(const std::filesystem::path& path);
  // ExportCsv / ExportXml: rebuild currentSet from set `setNumber` (an empty
  // set when there is no such set) and write it as CSV / XML text.
  //   true   the file at `path` holds the export
  //   false  setNumber is -1 (nothing rebuilt), or the file could not be
  //          written in full; whatever stood at `path` before is unchanged
  bool ExportCsv(const std::filesystem::path& path, int setNumber);
  bool ExportXml(const std::filesystem::path& path, int setNumber);

  HidDevice device;
  std::atomic<bool> cancelRequested{false};
  // Written by the one device operation running, or by a file load; not under dataMutex.
  DeviceSettings settings;
  std::vector<DataPacket> packets;  // dataMutex
  DataSet currentSet;               // dataMutex
  FastSet fastSet;                  // locks itself; draw from fastSet.Snapshot()
  std::atomic<bool> bootloaderMode{false};
  std::vector<std::string> comments;  // dataMutex; one per set of packets
  ViewRange viewRange{0, 0, 100, 100};  // dataMutex, so a drawing sees it with its set
  int32_t viewWidth = 0;   // pixels
  int32_t viewHeight = 0;  // pixels

 private:
  bool ComputeDataSetLocked(int32_t n);
  // The steps ExportCsv and ExportXml share: the file is opened first, the set
  // rebuilt and copied with its comment (null when it has none) under
  // dataMutex, and written outside it.
  using SetWriter = bool (*)(std::ostream& out, const DataSet& set, const std::string* comment);
  bool ExportSet(const std::filesystem::path& path, int32_t setNumber, SetWriter write);

  // False when the device did not take the reset or answer the query.
  bool BringToKnownState(bool bootloader, uint16_t* foundVersion);
  bool SettleBootloader();
  // Steps of the command protocol; each *Sequence runs one command after its reset.
  void DiscardStaleReplies();
  // Reads whole reports of `reportLength` until the input has been quiet.
  void DrainInput(size_t reportLength);
  int Finish(int result);  // notes whether replies may have been left unread
  int ReadCompletion(int resultWhenMissing);  // 0 for a completion (5), else -3
  int ReadConfirmation();          // a missing completion is -1, logged
  int ReadSettingsConfirmation();  // and "Done." on success
  int ReadSettingsSequence();
  int WriteSettingsSequence();
  int ReadDataSequence(ReadProgressFn progress, void* context);
  int ReadBlock(int block, DataPacket& packet, ReadProgressFn progress, void* context);
  int ReadBlockWord(uint16_t& word);
  static void Notify(ReadProgressFn progress, void* context, int block, bool inBlock, bool setStart);
  int ReadDeviceValue(DeviceCode command, uint16_t& value, bool logDone);
  int ReadDeviceValueSequence(DeviceCode command, uint16_t& value, bool logDone);
  int FireLinesSequence();
  bool ResetAndSend(DeviceCode command);
  bool EmulationSequence(const std::vector<int32_t>& samples, EmulationEventFn onEvent, void* context);
  static bool LogEmulationEvent(uint8_t code, uint16_t value);
  bool FinishEmulation(const char* line);
  bool EndEmulationOnRequest();

  // The one report buffer of each direction: one transfer is in flight at a time.
  std::array<uint8_t, kApplicationReportLength> commandReport_{};
  std::array<uint8_t, kApplicationReportLength> replyReport_{};
  bool repliesMayBeStale_ = false;
  // Whether the bootloader at `path` was left in the middle of a block.
  bool BlockCutOn(const std::wstring& path) const;
  void NoteBlockCut(bool cut);  // of the device open now

  // The path of the bootloader an update left in the middle of a block; empty
  // for none. Written by the update's worker, cleared on the dialog's thread.
  std::wstring blockCutPath_;
  mutable std::mutex blockCutMutex_;

  HidBackend& backend_;
  mutable std::mutex dataMutex;
};
