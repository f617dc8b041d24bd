// Any bytes, put on disk as a firmware file, must load or be refused: no
// crash, no read past the image, and a loaded file encodes back to itself.
// The seeds (tests/fuzz/corpus/load_firmware) were made with zeltool
// firmware-pack --bootloader 0x0103 --firmware 0x0142 from a 100-byte and a
// 64 KiB image whose byte i is i * 7 + 3; header-only.dat is the first 22
// bytes of the former.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/DebugLog.h"
#include "device/FirmwareFile.h"

namespace {

// The one file this process feeds the loader; removed when the process ends.
class ScratchPath {
 public:
  ScratchPath() {
    std::string name = (std::filesystem::temp_directory_path() / "fuzz_load_firmware-XXXXXX").string();
    const int descriptor = mkstemp(name.data());
    if (descriptor >= 0) close(descriptor);
    path_ = name;
  }
  ~ScratchPath() { std::remove(path_.c_str()); }
  ScratchPath(const ScratchPath&) = delete;
  ScratchPath& operator=(const ScratchPath&) = delete;

  const std::string& Get() const { return path_; }

 private:
  std::string path_;
};

void Expect(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckLoaded(const FirmwareImage& firmware, uint16_t bootloaderVersion, uint16_t firmwareVersion,
                 const uint8_t* data, size_t size) {
  Expect(firmware.length > 0 && firmware.image.size() == kFirmwareImageSize);
  const int lastBlock = firmware.LastBlockIndex();
  Expect(lastBlock >= 0 && lastBlock <= kFirmwareLastBlock);
  Expect(size >= kFirmwareFileSize);
  const std::vector<uint8_t> encoded = EncodeFirmwareFile(firmware, bootloaderVersion, firmwareVersion);
  Expect(std::equal(encoded.begin(), encoded.end(), data));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  DebugLog.rdbuf(nullptr);  // "Reading file." for every input is only noise here
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchPath scratch;
  {
    std::ofstream out(scratch.Get(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  FirmwareImage firmware;
  uint16_t format = 0, bootloader = 0, application = 0;
  const int result = LoadFirmwareFile(scratch.Get(), firmware, format, bootloader, application);
  if (result == kFirmwareFileLoaded) {
    CheckLoaded(firmware, bootloader, application, data, size);
  } else {
    Expect(result >= kFirmwareFileWrongMagic && result <= kFirmwareFileNoLength && firmware.length == 0);
  }
  return 0;
}
