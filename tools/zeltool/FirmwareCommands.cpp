// zeltool's commands on firmware files: firmware-pack makes one from a plain
// image, firmware-info tells what one holds. Both use the program's own
// encoder and loader, so what firmware-info accepts the program loads alike.
// The scrambling key is this program's choice (kFirmwareScrambleKey): a file
// made with another key loads, but as garbage, so firmware-info names the key
// and looks at the one part whose plain content is known, erased flash.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "device/FirmwareFile.h"
#include "data/Version.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/CommandTable.h"

namespace {

const char kPackUsage[] = "firmware-pack IMAGE.bin OUT.dat [--firmware V] [--bootloader V]";
const char kInfoUsage[] = "firmware-info FILE.dat";
constexpr uint16_t kDefaultFirmwareVersion = 0x0141;
constexpr uint16_t kDefaultBootloaderVersion = 0x0100;

int HexDigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// One to four hexadecimal digits, "0x" optional: 0x0142, 142.
bool ParseVersion(const std::wstring& word, uint16_t& version) {
  const bool prefixed = word.size() > 2 && word[0] == L'0' && (word[1] == L'x' || word[1] == L'X');
  const std::wstring digits = prefixed ? word.substr(2) : word;
  if (digits.empty() || digits.size() > 4) return false;
  unsigned value = 0;
  for (const wchar_t c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return false;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  version = static_cast<uint16_t>(value);
  return true;
}

struct PackRequest {
  std::filesystem::path image;
  std::filesystem::path output;
  uint16_t firmwareVersion = kDefaultFirmwareVersion;
  uint16_t bootloaderVersion = kDefaultBootloaderVersion;
};

bool ParsePackArgs(const ZeltoolArgs& args, PackRequest& request) {
  if (args.size() < 2 || args.size() % 2 != 0) return false;
  request.image = ArgPath(args[0]);
  request.output = ArgPath(args[1]);
  for (size_t i = 2; i < args.size(); i += 2) {
    uint16_t* version = args[i] == L"--firmware"     ? &request.firmwareVersion
                        : args[i] == L"--bootloader" ? &request.bootloaderVersion
                                                     : nullptr;
    if (version == nullptr || !ParseVersion(args[i + 1], *version)) return false;
  }
  return true;
}

// The file's bytes, or nothing when it cannot be read. Reading stops one byte
// past `limit`, enough to tell that a file is too large.
std::optional<std::vector<uint8_t>> ReadAtMost(const std::filesystem::path& path, size_t limit) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  std::vector<uint8_t> bytes(limit + 1);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) return std::nullopt;
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

int RunFirmwarePack(const ZeltoolArgs& args, ZeltoolIo& io) {
  PackRequest request;
  if (!ParsePackArgs(args, request)) return ZeltoolUsageError(io, kPackUsage);
  const std::string imageName = PathText(request.image);
  const std::optional<std::vector<uint8_t>> plain = ReadAtMost(request.image, kFirmwareImageSize);
  if (!plain) {
    io.err << "zeltool: " << imageName << " cannot be read\n";
    return kZeltoolFailure;
  }
  const std::optional<FirmwareImage> firmware = FirmwareImage::FromPlain(*plain);
  if (!firmware) {
    io.err << "zeltool: " << imageName << (plain->empty() ? " is empty" : " is larger than 65536 bytes")
           << "; a firmware image holds 1 to 65536 bytes\n";
    return kZeltoolFailure;
  }
  if (!SaveFirmwareFile(request.output, *firmware, request.bootloaderVersion, request.firmwareVersion)) {
    io.err << "zeltool: " << PathText(request.output) << " cannot be written\n";
    return kZeltoolFailure;
  }
  return kZeltoolSuccess;
}

std::string HexWord(uint16_t word) {
  std::ostringstream text;
  text << "0x" << std::hex << std::setfill('0') << std::setw(4) << word;
  return text.str();
}

std::string VersionText(uint16_t version) {
  return NarrowText(FormatVersion(version)) + " (" + HexWord(version) + ')';
}

std::string DescribeRefusal(int loaded, uint16_t fileFormatVersion) {
  switch (loaded) {
    case kFirmwareFileWrongMagic: return "is not a firmware file";
    case kFirmwareFileWrongFormatVersion:
      return "has file format " + VersionText(fileFormatVersion) + "; only 1.00 is read";
    case kFirmwareFileCannotOpen: return "cannot be opened";
    case kFirmwareFileEndsEarly: return "ends early: a firmware file is 65562 bytes";
    default: return "is not a valid firmware file: its length field is 0 or less";
  }
}

void WriteVersionLine(std::ostream& out, const char* label, uint16_t version, uint16_t family) {
  out << label << VersionText(version);
  if (VersionFamily(version) != family) {
    out << ", not for this program (it takes " << NarrowText(FormatVersionFamily(family)) << ')';
  }
  out << '\n';
}

int BlocksToSend(const FirmwareImage& firmware) {
  int count = 0;
  for (int index = 0; index <= firmware.LastBlockIndex(); ++index) count += firmware.IsBlockEmpty(index) ? 0 : 1;
  return count;
}

void WriteFirmwareSummary(std::ostream& out, const FirmwareImage& firmware, uint16_t bootloaderVersion,
                          uint16_t firmwareVersion) {
  WriteVersionLine(out, "  firmware version    ", firmwareVersion, kFirmwareFamily);
  WriteVersionLine(out, "  bootloader version  ", bootloaderVersion, kBootloaderFamily);
  out << "  image length        " << firmware.length << " bytes";
  if (static_cast<size_t>(firmware.length) > kFirmwareImageSize) out << ", more than the image holds";
  out << '\n';
  const int lastBlock = firmware.LastBlockIndex();
  out << "  blocks              " << lastBlock + 1 << " (0 to " << lastBlock << "), " << BlocksToSend(firmware)
      << " to send\n";
  out << "  scrambling key      " << HexWord(kFirmwareScrambleKey)
      << ", XOR-ed with every little-endian 16-bit word of the image\n";
}

// The image past its length is padding, erased flash (0xFF) in every file
// packed with this program's key.
size_t UnerasedBytesPastLength(const FirmwareImage& firmware) {
  const auto end = firmware.image.begin() + std::min(static_cast<size_t>(firmware.length), kFirmwareImageSize);
  return static_cast<size_t>(
      std::count_if(end, firmware.image.end(), [](uint8_t byte) { return byte != kErasedFlashByte; }));
}

void WarnOfAnotherKey(std::ostream& err, const FirmwareImage& firmware) {
  const size_t unerased = UnerasedBytesPastLength(firmware);
  if (unerased == 0) return;
  err << "zeltool: warning: " << unerased << " of the bytes past the image's length do not unscramble to erased flash "
      << "(0xFF) with the key " << HexWord(kFirmwareScrambleKey)
      << "; the file was probably made with another key, and its image would be written as garbage\n";
}

int RunFirmwareInfo(const ZeltoolArgs& args, ZeltoolIo& io) {
  if (args.size() != 1) return ZeltoolUsageError(io, kInfoUsage);
  FirmwareImage firmware;
  uint16_t format = 0, bootloader = 0, application = 0;
  const int loaded = LoadFirmwareFile(ArgPath(args[0]), firmware, format, bootloader, application);
  const std::string name = NarrowText(args[0]);
  if (loaded != kFirmwareFileLoaded) {
    io.err << "zeltool: " << name << ' ' << DescribeRefusal(loaded, format) << '\n';
    return kZeltoolFailure;
  }
  io.out << name << ": firmware file, format " << VersionText(format) << '\n';
  WriteFirmwareSummary(io.out, firmware, bootloader, application);
  WarnOfAnotherKey(io.err, firmware);
  return kZeltoolSuccess;
}

const ZeltoolCommandRegistration firmwarePack{
    {"firmware-pack", kPackUsage,
     "a firmware file from a plain image of up to 64 KiB (versions in hexadecimal; defaults 0x0141 and 0x0100)",
     RunFirmwarePack}};
const ZeltoolCommandRegistration firmwareInfo{
    {"firmware-info", kInfoUsage,
     "the versions, length, blocks and scrambling key of a firmware file; warns when it seems made with another key",
     RunFirmwareInfo}};

}  // namespace
