#include "sim/SimBootloader.h"

#include <algorithm>

#include "device/BootloaderReports.h"
#include "device/FirmwareImage.h"
#include "device/LittleEndian.h"

namespace {

Report Answer(uint8_t byte1, uint8_t byte2 = 0) {
  Report answer(kBootloaderReportLength, 0);
  answer[1] = byte1;
  answer[2] = byte2;
  return answer;
}

}  // namespace

SimBootloader::SimBootloader(uint16_t hardwareVersion)
    : hardwareVersion_(hardwareVersion), flash_(kFirmwareImageSize, kErasedFlashByte) {}

void SimBootloader::SetHardwareVersion(uint16_t version) {
  std::lock_guard<std::mutex> lock(mutex_);
  hardwareVersion_ = version;
}

void SimBootloader::OnPlugged() {
  std::lock_guard<std::mutex> lock(mutex_);
  awaiting_ = Awaiting::Command;
}

void SimBootloader::SetRejectedBlock(int n, uint8_t answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  rejectedBlock_ = n;
  rejectionAnswer_ = answer;
}

std::vector<uint8_t> SimBootloader::Flash() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return flash_;
}

std::vector<uint16_t> SimBootloader::WrittenAddresses() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return writtenAddresses_;
}

int SimBootloader::BlocksReceived() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return blocksReceived_;
}

int SimBootloader::HardwareQueries() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return hardwareQueries_;
}

void SimBootloader::OnHostReport(const Report& report, ReportSink& replies) {
  if (report.size() != kBootloaderReportLength) return;  // not a report this device knows
  Report reply;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    switch (awaiting_) {
      case Awaiting::Command:
        reply = OnCommand(report);
        break;
      case Awaiting::BlockAddress:
        blockAddress_ = ReadLittleEndian16(&report[1]);
        awaiting_ = Awaiting::BlockData;
        break;
      case Awaiting::BlockData:
        reply = OnBlockData(report);
        awaiting_ = Awaiting::Command;
        break;
    }
  }
  if (!reply.empty()) replies.Send(std::move(reply));
}

Report SimBootloader::OnCommand(const Report& report) {
  if (report[1] == kBlockCommandCode) {
    awaiting_ = Awaiting::BlockAddress;
    return {};
  }
  if (report[1] != kHardwareQueryCode) return {};
  ++hardwareQueries_;
  return Answer(static_cast<uint8_t>(hardwareVersion_), static_cast<uint8_t>(hardwareVersion_ >> 8));
}

Report SimBootloader::OnBlockData(const Report& report) {
  if (blocksReceived_++ == rejectedBlock_) return Answer(rejectionAnswer_);
  if (blockAddress_ + kFirmwareBlockSize > flash_.size()) return Answer(kBlockRejectedCode);
  std::copy_n(&report[1], kFirmwareBlockSize, flash_.begin() + blockAddress_);
  writtenAddresses_.push_back(blockAddress_);
  return Answer(kBlockAcceptedCode);
}

std::shared_ptr<SimInterface> PlugSimBootloader(SimHidBackend& backend, std::shared_ptr<SimBootloader> model,
                                                uint16_t version, int instance) {
  return backend.Plug(SimInterfacePath(kAltimeterVendorId, kBootloaderProductId, instance),
                      {kAltimeterVendorId, kBootloaderProductId, version}, std::move(model));
}
