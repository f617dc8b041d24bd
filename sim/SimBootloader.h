#pragma once
// The altimeter in bootloader mode: answers the hardware query, takes blocks
// (command, address, data) into a 64 KiB flash that starts erased, and answers
// each block. Silence, removal and slow replies are knobs of the SimInterface
// it is plugged in as; a rejected block is a knob of its own.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "device/BootloaderReports.h"
#include "sim/SimHidBackend.h"

constexpr uint16_t kSimBootloaderVersion = 0x0103;
constexpr uint16_t kSimHardwareVersion = 0x0121;

class SimBootloader : public SimDeviceModel {
 public:
  explicit SimBootloader(uint16_t hardwareVersion = kSimHardwareVersion);

  void SetHardwareVersion(uint16_t version);
  // A block half received when the device was pulled out is dropped.
  void OnPlugged() override;
  // The n-th block received (0-based) is answered with `answer` (0x01 alone
  // means accepted) and not stored; -1: none.
  void SetRejectedBlock(int n, uint8_t answer = kBlockRejectedCode);

  // 65,536 bytes, 0xFF where no block was accepted.
  std::vector<uint8_t> Flash() const;
  // Addresses of the blocks accepted, in arrival order.
  std::vector<uint16_t> WrittenAddresses() const;
  int BlocksReceived() const;
  int HardwareQueries() const;

  void OnHostReport(const Report& report, ReportSink& replies) override;
  // It moves one report per USB frame, whichever the direction: a block's
  // answer has a frame of its own, and the next command waits for the next one.
  bool AnswersTakeTheirFrame() const override { return true; }

 private:
  enum class Awaiting { Command, BlockAddress, BlockData };

  // Each returns the reply to send, or an empty report for none.
  Report OnCommand(const Report& report);
  Report OnBlockData(const Report& report);

  mutable std::mutex mutex_;
  uint16_t hardwareVersion_;
  int rejectedBlock_ = -1;
  uint8_t rejectionAnswer_ = kBlockRejectedCode;
  Awaiting awaiting_ = Awaiting::Command;
  uint16_t blockAddress_ = 0;
  int blocksReceived_ = 0;
  int hardwareQueries_ = 0;
  std::vector<uint8_t> flash_;
  std::vector<uint16_t> writtenAddresses_;
};

// Plugs `model` in as vendor 0x03DB, product 0x0001 with the version given.
std::shared_ptr<SimInterface> PlugSimBootloader(SimHidBackend& backend, std::shared_ptr<SimBootloader> model,
                                                uint16_t version = kSimBootloaderVersion, int instance = 0);
