// zeltool settings: the settings the altimeter holds, as text or, with
// --json, for scripts; with --line-a, --line-b or --inhibit it first writes
// them changed, by the rules of the Device Settings dialog (whole seconds
// and metres that fit the record), and shows what the altimeter holds after.
#include <optional>
#include <vector>

#include "dialogs/SettingsEntry.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/DeviceAccess.h"
#include "tools/zeltool/JsonText.h"

namespace {

const char kUsage[] = "settings [--json] [--line-a MODE] [--line-b MODE] [--inhibit SECONDS]";

struct SettingsRequest {
  bool json = false;
  SettingsEntry entry;  // a line without a mode keeps its own
  std::optional<uint64_t> inhibitSeconds;
  bool Writes() const { return entry.lineA.mode || entry.lineB.mode || inhibitSeconds; }
};

// disabled, apogee, time:SECONDS or altitude:METRES; the number whole.
bool ParseLine(const std::wstring& word, LineEntry& line) {
  const size_t colon = word.find(L':');
  const std::wstring mode = word.substr(0, colon);
  const std::optional<uint64_t> number =
      colon == std::wstring::npos ? std::nullopt : BoxNumber(std::wstring_view(word).substr(colon + 1));
  if (colon == std::wstring::npos && (mode == L"disabled" || mode == L"apogee")) {
    line.mode = mode == L"disabled" ? LineMode::Disabled : LineMode::Apogee;
    return true;
  }
  if (!number || (mode != L"time" && mode != L"altitude")) return false;
  line.mode = mode == L"time" ? LineMode::Time : LineMode::Altitude;
  (mode == L"time" ? line.seconds : line.metres) = number;
  return true;
}

// Each option at most once, in any order.
bool ParseArgs(const ZeltoolArgs& args, SettingsRequest& request) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == L"--json" && !request.json) {
      request.json = true;
      continue;
    }
    if (i + 1 == args.size()) return false;
    const std::wstring& value = args[++i];
    LineEntry* line = args[i - 1] == L"--line-a"   ? &request.entry.lineA
                      : args[i - 1] == L"--line-b" ? &request.entry.lineB
                                                   : nullptr;
    if (line != nullptr && !line->mode && ParseLine(value, *line)) continue;
    if (args[i - 1] != L"--inhibit" || request.inhibitSeconds) return false;
    request.inhibitSeconds = BoxNumber(value);
    if (!request.inhibitSeconds) return false;
  }
  return true;
}

void WriteLine(std::ostream& out, const char* name, LineMode mode, uint16_t value) {
  out << name;
  switch (mode) {
    case LineMode::Disabled: out << "disabled\n"; return;
    case LineMode::Time: out << "by time, " << value / 10.0 << " s after launch\n"; return;
    case LineMode::Apogee: out << "at apogee\n"; return;
    case LineMode::Altitude: out << "by altitude, " << value << " m above the ground\n"; return;
  }
  out << "unknown mode " << static_cast<int>(mode) << ", value " << value << '\n';
}

void WriteSettings(std::ostream& out, const DeviceSettings& settings) {
  WriteLine(out, "line A              ", settings.lineAMode, settings.lineAValue);
  WriteLine(out, "line B              ", settings.lineBMode, settings.lineBValue);
  out << "inhibit time        " << settings.inhibitTime / 10.0 << " s\n"
      << "calibration offset  " << settings.adcOffset << " ADC counts\n";
}

// The mode by name and the value as stored; the value in its unit where the
// mode gives it one, the mode's code where the mode is unknown.
std::string LineJson(LineMode mode, uint16_t value) {
  const auto line = [&](const char* modeName, const char* unit, const std::string& inUnit) {
    std::vector<std::string> members{JsonMember("mode", JsonString(modeName)),
                                     JsonMember("value", std::to_string(value))};
    if (unit != nullptr) members.push_back(JsonMember(unit, inUnit));
    return JsonObject(members);
  };
  switch (mode) {
    case LineMode::Disabled: return line("disabled", nullptr, "");
    case LineMode::Time: return line("time", "seconds", JsonTenths(value));
    case LineMode::Apogee: return line("apogee", nullptr, "");
    case LineMode::Altitude: return line("altitude", "metres", std::to_string(value));
  }
  return line("unknown", "modeCode", std::to_string(static_cast<int>(mode)));
}

void WriteSettingsJson(std::ostream& out, const DeviceSettings& settings, bool checksumValid) {
  out << JsonObject({JsonMember("lineA", LineJson(settings.lineAMode, settings.lineAValue)),
                     JsonMember("lineB", LineJson(settings.lineBMode, settings.lineBValue)),
                     JsonMember("inhibitSeconds", JsonTenths(settings.inhibitTime)),
                     JsonMember("calibrationOffset", std::to_string(settings.adcOffset)),
                     JsonMember("checksumValid", JsonBool(checksumValid))})
      << '\n';
}

// The settings read changed as asked, written to the altimeter. False after a
// line on io.err when they do not fit the record or the write failed.
bool WriteChanged(AltimeterLink& link, HidBackend& backend, const SettingsRequest& request, ZeltoolIo& io) {
  SettingsEntry entry = request.entry;
  entry.inhibitSeconds = request.inhibitSeconds.value_or(0);
  const uint16_t inhibitKept = link.settings.inhibitTime;
  if (!ApplyEntry(entry, link.settings)) {
    io.err << "zeltool: the settings do not fit the altimeter's record: times up to " << kMaxSeconds
           << " s, heights up to " << kMaxMetres << " m\n";
    return false;
  }
  if (!request.inhibitSeconds) link.settings.inhibitTime = inhibitKept;  // not asked to change
  link.settings.Build();
  const int result = link.WriteSettings();
  if (result == kCommandOk) return true;
  io.err << "zeltool: the settings could not be written: " << DescribeDeviceFailure(result, backend, link.device.path)
         << '\n';
  return false;
}

int RunSettings(const ZeltoolArgs& args, ZeltoolIo& io) {
  SettingsRequest request;
  if (!ParseArgs(args, request)) return ZeltoolUsageError(io, kUsage);
  ZeltoolDevices* devices = DevicesOrComplain(io);
  if (devices == nullptr) return kZeltoolFailure;
  AltimeterLink link(devices->backend);
  if (!ConnectToAltimeter(link, devices->backend, io)) return kZeltoolFailure;
  SettingsRead read = ReadDeviceSettings(link, devices->backend, io);
  if (read != SettingsRead::Failed && request.Writes()) {
    // What the altimeter holds after the write is read back, not assumed.
    read = WriteChanged(link, devices->backend, request, io) ? ReadDeviceSettings(link, devices->backend, io)
                                                             : SettingsRead::Failed;
  }
  if (read == SettingsRead::Failed) return kZeltoolFailure;
  if (request.json) {
    WriteSettingsJson(io.out, link.settings, read == SettingsRead::Valid);
  } else {
    WriteSettings(io.out, link.settings);
  }
  return kZeltoolSuccess;
}

const ZeltoolCommandRegistration settingsCommand{
    {"settings", kUsage,
     "the settings the altimeter holds: its lines, inhibit time and calibration; with --line-a, --line-b or "
     "--inhibit, written changed first (MODE: disabled, apogee, time:SECONDS or altitude:METRES; whole numbers)",
     RunSettings}};

}  // namespace
