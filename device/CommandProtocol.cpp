// The application-mode command protocol: report framing, the reset that opens
// every command sequence, and the settings and flight-memory transfers.
#include <array>
#include <chrono>

#include "base/DebugLog.h"
#include "data/SetDirectory.h"
#include "device/AltimeterLink.h"

namespace {

constexpr int kProgressEveryWords = 5;
// A device sends the replies of one command back to back, well within this;
// a silence this long means the last of them has come.
constexpr unsigned kQuietMs = 50;
// A device that never stops talking must not keep the next command waiting.
constexpr auto kLongestDrain = std::chrono::milliseconds(500);

DataPacket PacketWithHeader(DataPacket packet, uint16_t header) {
  packet.kind = static_cast<uint8_t>(header & 0xFF);
  packet.secondByte = static_cast<uint8_t>(header >> 8);
  return packet;
}

}  // namespace

bool AltimeterLink::SendCommand(uint16_t value, DeviceCode code, unsigned timeoutMs) {
  commandReport_[0] = 0x00;
  commandReport_[1] = static_cast<uint8_t>(value & 0xFF);
  commandReport_[2] = static_cast<uint8_t>(value >> 8);
  commandReport_[3] = CodeByte(code);
  return device.WriteReport(commandReport_.data(), commandReport_.size(), timeoutMs);
}

bool AltimeterLink::ReadReply(uint16_t& value, uint8_t* code, unsigned timeoutMs) {
  replyReport_.fill(0);
  if (!device.ReadReport(replyReport_.data(), replyReport_.size(), timeoutMs)) return false;
  value = static_cast<uint16_t>(replyReport_[1] | (replyReport_[2] << 8));
  if (code != nullptr) *code = replyReport_[3];
  return true;
}

bool AltimeterLink::ResetDevice() {
  if (SendCommand(0, DeviceCode::Reset, kReportTimeoutMs)) return true;
  DebugLog << "Write Error." << std::endl;
  return false;
}

// A sequence that failed or was cancelled may have left replies behind, some
// still on their way (a cancelled download has asked for a whole block); read
// as answers to the next command they would shift every later word. They are
// dropped before the next sequence starts, until the input has been quiet.
// Until the sequence about to start has finished, its own replies count as
// stale too: one cut short by an exception never reaches Finish.
void AltimeterLink::DiscardStaleReplies() {
  if (repliesMayBeStale_) DrainInput(kApplicationReportLength);
  repliesMayBeStale_ = true;
}

void AltimeterLink::DrainInput(size_t reportLength) {
  const auto giveUp = std::chrono::steady_clock::now() + kLongestDrain;
  std::array<uint8_t, kBootloaderReportLength> report{};
  while (device.ReadReport(report.data(), reportLength, kQuietMs) && std::chrono::steady_clock::now() < giveUp) {
  }
}

int AltimeterLink::Finish(int result) {
  repliesMayBeStale_ = result != kCommandOk;
  return result;
}

int AltimeterLink::ReadCompletion(int resultWhenMissing) {
  uint8_t code = 0;
  uint16_t value = 0;
  if (!ReadReply(value, &code, kReportTimeoutMs)) return resultWhenMissing;
  return code == CodeByte(DeviceCode::Complete) ? kCommandOk : kUnexpectedReply;
}

int AltimeterLink::ReadConfirmation() {
  const int result = ReadCompletion(kTransferFailed);
  if (result == kTransferFailed) DebugLog << "Could not read complete confirmation." << std::endl;
  return result;
}

int AltimeterLink::ReadSettings() {
  if (bootloaderMode) return kUnexpectedReply;
  DiscardStaleReplies();
  return Finish(ReadSettingsSequence());
}

int AltimeterLink::ReadSettingsSequence() {
  DebugLog << "Resetting device." << std::endl;
  if (!ResetDevice()) return kCommandNotSent;
  DebugLog << "Reading Settings..." << std::endl;
  if (!SendCommand(0, DeviceCode::ReadSettings, kReportTimeoutMs)) return kCommandNotSent;
  for (size_t i = 0; i < settings.image.size(); ++i) {
    uint16_t value = 0;
    uint8_t code = 0;
    if (!ReadReply(value, &code, kReportTimeoutMs)) {
      DebugLog << "Failed to read packet." << std::endl;
      return kTransferFailed;
    }
    if (code == CodeByte(DeviceCode::Complete)) {
      DebugLog << "Premature end of data." << std::endl;
      return kUnexpectedReply;
    }
    settings.image[i] = static_cast<uint8_t>(value & 0xFF);
    DebugLog << "Settings Packet Read: " << i << std::endl;
  }
  return ReadSettingsConfirmation();
}

int AltimeterLink::ReadSettingsConfirmation() {
  const int result = ReadConfirmation();
  if (result == kCommandOk) DebugLog << "Done." << std::endl;
  return result;
}

int AltimeterLink::WriteSettings() {
  if (bootloaderMode) return kUnexpectedReply;
  DiscardStaleReplies();
  return Finish(WriteSettingsSequence());
}

int AltimeterLink::WriteSettingsSequence() {
  DebugLog << "Resetting device." << std::endl;
  if (!ResetDevice()) return kCommandNotSent;
  DebugLog << "Writting Settings..." << std::endl;
  if (!SendCommand(0, DeviceCode::WriteSettings, kReportTimeoutMs)) return kCommandNotSent;
  for (size_t i = 0; i < settings.image.size(); ++i) {
    if (!SendCommand(settings.image[i], DeviceCode::Data, kReportTimeoutMs)) {
      DebugLog << "Failed to write packet." << std::endl;
      return kTransferFailed;
    }
    DebugLog << "Settings Packet Written: " << i << std::endl;
  }
  return ReadSettingsConfirmation();
}

int AltimeterLink::ClearData() {
  {
    const auto lock = LockData();
    comments.clear();
  }
  if (bootloaderMode) return kUnexpectedReply;
  DiscardStaleReplies();
  if (!SendCommand(0, DeviceCode::ClearData, kReportTimeoutMs)) return Finish(kTransferFailed);
  return Finish(ReadCompletion(kTransferFailed));
}

int AltimeterLink::ReadData(ReadProgressFn progress, void* context) {
  {
    const auto lock = LockData();
    comments.clear();
  }
  if (bootloaderMode) return kUnexpectedReply;
  cancelRequested = false;
  {
    const auto lock = LockData();
    packets.clear();
  }
  DiscardStaleReplies();
  return Finish(ReadDataSequence(progress, context));
}

int AltimeterLink::ReadDataSequence(ReadProgressFn progress, void* context) {
  DebugLog << "Resetting device." << std::endl;
  if (!ResetDevice()) return kCommandNotSent;
  DebugLog << "Reading Data..." << std::endl;
  for (int block = 0; block < kMemoryBlocks; ++block) {
    DataPacket packet = DataPacket::MakeEmpty();
    const int result = ReadBlock(block, packet, progress, context);
    if (result != kCommandOk) return result;
    if (cancelRequested) DebugLog << "Requesting CancelIO." << std::endl;
    if (packet.IsErased()) break;
    {
      const auto lock = LockData();
      packets.push_back(packet);
    }
    Notify(progress, context, block, false, false);
    DebugLog << "Done Reading Packet..." << std::endl;
  }
  DebugLog << "Done Reading Data..." << std::endl;
  const auto lock = LockData();
  comments.assign(static_cast<size_t>(::CountSets(packets)), std::string());
  return kCommandOk;
}

int AltimeterLink::ReadBlock(int block, DataPacket& packet, ReadProgressFn progress, void* context) {
  // Once asked for, a block's replies come whether or not they are read.
  if (cancelRequested) return kCommandCancelled;
  if (!SendCommand(0, DeviceCode::ReadBlock, kReportTimeoutMs) ||
      !SendCommand(static_cast<uint16_t>(block), DeviceCode::ReadBlock, kReportTimeoutMs)) {
    return kCommandNotSent;
  }
  for (int j = 0; j < kWordsPerBlock; ++j) {
    uint16_t word = 0;
    const int result = ReadBlockWord(word);
    if (result != kCommandOk) return result;
    if (cancelRequested) return kCommandCancelled;
    if (j == 0) {
      packet = PacketWithHeader(packet, word);
      DebugLog << "Begin Notify..." << std::endl;
      Notify(progress, context, block, true, packet.IsStart());
      DebugLog << "Done." << std::endl;
      continue;
    }
    packet.SetWord(j - 1, word);
    DebugLog << "updating fast set..." << std::endl;
    fastSet.AddSample(word, settings.adcOffset);
    DebugLog << "Done." << std::endl;
    if (j % kProgressEveryWords == 0) {
      DebugLog << "Notify..." << std::endl;
      Notify(progress, context, block, true, false);
      DebugLog << "Done." << std::endl;
    }
  }
  if (cancelRequested) return kCommandCancelled;
  return ReadConfirmation();
}

// Reads until a data word or a completion arrives; other codes are logged and skipped.
int AltimeterLink::ReadBlockWord(uint16_t& word) {
  for (;;) {
    if (cancelRequested) return kCommandCancelled;
    uint8_t code = 0;
    if (!ReadReply(word, &code, kReportTimeoutMs)) {
      DebugLog << "Failed to read to packet." << std::endl;
      return kTransferFailed;
    }
    if (code != CodeByte(DeviceCode::DataWord)) DebugLog << "Invalid data." << std::endl;
    DebugLog << "Code: [" << std::hex << static_cast<unsigned>(code) << "]" << std::endl;
    if (code == CodeByte(DeviceCode::DataWord)) return kCommandOk;
    if (code == CodeByte(DeviceCode::Complete)) {
      DebugLog << "Premature end of data." << std::endl;
      return kUnexpectedReply;
    }
  }
}

void AltimeterLink::Notify(ReadProgressFn progress, void* context, int block, bool inBlock, bool setStart) {
  if (progress != nullptr) progress(context, block, inBlock, setStart);
}
