#include "data/DeviceSettings.h"

#include "base/DebugLog.h"

namespace {

constexpr size_t kChecksumOffset = 14;

}  // namespace

DeviceSettings::DeviceSettings() { Pack(); }

void DeviceSettings::SetDefaults() {
  *this = DeviceSettings();
  Build();
}

void DeviceSettings::Build() {
  DebugLog << "Building settings..." << std::endl;
  Pack();
  DebugLog << "Done." << std::endl;
}

bool DeviceSettings::Parse() {
  DebugLog << "Parsing settings..." << std::endl;
  DebugLog << "MaxReadings: " << maxReadings << std::endl;
  Unpack();
  DebugLog << "Line: " << std::hex << static_cast<unsigned>(image[9]) << std::endl;
  if (StoredChecksum() != Checksum()) {
    DebugLog << "Invalid checksum!" << std::endl;
    return false;
  }
  DebugLog << "Checksum is valid." << std::endl;
  DebugLog << "Done." << std::endl;
  return true;
}

bool DeviceSettings::ParseOrSetDefaults() {
  if (Parse()) return true;
  SetDefaults();
  Parse();
  return false;
}

DeviceSettings DeviceSettings::Unpacked(const std::array<uint8_t, kImageSize>& image) {
  DeviceSettings settings;
  settings.image = image;
  settings.Unpack();
  return settings;
}

std::array<uint8_t, DeviceSettings::kImageSize> DeviceSettings::Packed() const {
  DeviceSettings packed = *this;
  packed.Pack();
  return packed.image;
}

uint16_t DeviceSettings::Checksum() const {
  uint16_t sum = 0;
  for (size_t i = 0; i < kChecksumOffset; ++i) sum = static_cast<uint16_t>(sum + image[i] + i);
  return sum;
}

uint16_t DeviceSettings::StoredChecksum() const { return ImageWord(kChecksumOffset); }

bool DeviceSettings::Serialize(std::ostream& out) const {
  if (!out.good()) return false;
  if (StoredChecksum() != Checksum()) DebugLog << "Invalid checksum." << std::endl;
  out.write(reinterpret_cast<const char*>(image.data()), kImageSize);
  DebugLog << "Successfully serialized settings." << std::endl;
  return true;
}

bool DeviceSettings::Deserialize(std::istream& in) {
  if (!in.good()) return false;
  std::array<uint8_t, kImageSize> read{};
  if (!in.read(reinterpret_cast<char*>(read.data()), kImageSize)) return false;
  image = read;
  if (!Parse()) return false;
  DebugLog << "Successfully de-serialized." << std::endl;
  return true;
}

void DeviceSettings::Pack() {
  SetImageWord(0, maxReadings);
  image[2] = auxFlag ? 0xFF : 0x00;
  SetImageWord(3, auxWord);
  SetImageWord(5, inhibitTime);
  image[7] = auxByte;
  image[8] = static_cast<uint8_t>(adcOffset);  // two's complement, low 8 bits
  image[9] = static_cast<uint8_t>((static_cast<unsigned>(lineBMode) << 4) | static_cast<unsigned>(lineAMode));
  SetImageWord(10, lineAValue);
  SetImageWord(12, lineBValue);
  SetImageWord(kChecksumOffset, Checksum());
}

void DeviceSettings::Unpack() {
  maxReadings = ImageWord(0);
  auxFlag = image[2] != 0;
  auxWord = ImageWord(3);
  inhibitTime = ImageWord(5);
  auxByte = image[7];
  adcOffset = static_cast<int8_t>(image[8]);
  lineAMode = static_cast<LineMode>(image[9] & 0x0F);
  lineBMode = static_cast<LineMode>(image[9] >> 4);
  lineAValue = ImageWord(10);
  lineBValue = ImageWord(12);
}

uint16_t DeviceSettings::ImageWord(size_t offset) const {
  return static_cast<uint16_t>(image[offset] | (image[offset + 1] << 8));
}

void DeviceSettings::SetImageWord(size_t offset, uint16_t value) {
  image[offset] = static_cast<uint8_t>(value & 0xFF);
  image[offset + 1] = static_cast<uint8_t>(value >> 8);
}
