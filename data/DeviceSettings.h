#pragma once
// The altimeter's configuration, as editable fields and as the 16-byte image
// (little-endian, with a 16-bit checksum in bytes 14 and 15) that travels to
// and from the device and is stored in data files. After Build, or a Parse
// that returns true, the fields and the image agree; an edit of the fields
// makes the image stale until the next Build, so every writer builds first.
#include <array>
#include <cstdint>
#include <istream>
#include <ostream>

// What an ejection line does; the meaning of its value follows from it.
enum class LineMode : uint8_t {
  Disabled = 0,
  Time = 1,      // value: firing time, tenths of a second
  Apogee = 2,
  Altitude = 3,  // value: firing altitude, m above ground
};

class DeviceSettings {
 public:
  static constexpr size_t kImageSize = 16;

  // The defaults, image built, without a word to DebugLog: a record made at
  // start-up must not log before the program's banner.
  DeviceSettings();

  std::array<uint8_t, kImageSize> image{};
  uint16_t maxReadings = 992;
  bool auxFlag = true;  // carried between device and files, never shown
  uint16_t auxWord = 60;
  uint16_t inhibitTime = 20;  // tenths of a second
  uint8_t auxByte = 80;
  int32_t adcOffset = 0;  // counts added to each ADC reading; only -128..127 survive the image
  LineMode lineAMode = LineMode::Apogee;
  LineMode lineBMode = LineMode::Altitude;
  uint16_t lineAValue = 150;
  uint16_t lineBValue = 150;

  // Every field to its default, then Build.
  void SetDefaults();
  // Packs the fields into the image with its checksum. Logs "Building settings..." and "Done.".
  void Build();
  // Unpacks the image into the fields, whether or not its checksum is right;
  // returns true when it is. Logs byte 9 after "Line: " and leaves DebugLog in
  // hexadecimal.
  bool Parse();
  // Parse; when the checksum is wrong, the defaults instead, parsed in turn.
  // Returns whether the image was valid. A record read from the device then
  // always converts and saves as a valid one.
  bool ParseOrSetDefaults();
  // The fields of `image`, unpacked without a word to DebugLog: for showing a
  // stored image (the simulated device's) without touching the log's state.
  static DeviceSettings Unpacked(const std::array<uint8_t, kImageSize>& image);
  // The image of these fields with its checksum, packed likewise in silence.
  std::array<uint8_t, kImageSize> Packed() const;
  // Sum of (byte + index) over image bytes 0..13, modulo 65536.
  uint16_t Checksum() const;
  // The checksum stored in image bytes 14 and 15.
  uint16_t StoredChecksum() const;

  // Writes the 16 image bytes, even with a wrong checksum (logged). False,
  // writing nothing, when the stream is not good.
  bool Serialize(std::ostream& out) const;
  // Reads 16 image bytes and parses them. False when the stream is not good
  // (record untouched), ends early (record untouched) or the checksum is
  // wrong (fields as parsed).
  bool Deserialize(std::istream& in);

 private:
  void Pack();
  void Unpack();
  uint16_t ImageWord(size_t offset) const;
  void SetImageWord(size_t offset, uint16_t value);
};
