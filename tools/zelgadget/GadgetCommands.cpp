#include "tools/zelgadget/GadgetCommands.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>

#include "data/DataSetFile.h"
#include "sim/SettingsText.h"

namespace {

using Words = std::vector<std::string>;

template <typename T>
using Names = std::vector<std::pair<std::string, T>>;

const Names<SimPortMode> kModes = {{"application", SimPortMode::Application}, {"bootloader", SimPortMode::Bootloader}};
const Names<MemoryPreset> kPresets = {{"empty", MemoryPreset::Empty},
                                      {"one", MemoryPreset::OneFlight},
                                      {"several", MemoryPreset::SeveralFlights},
                                      {"full", MemoryPreset::Full}};
const Names<bool> kSwitch = {{"on", true}, {"off", false}};
const Names<SimFault> kFaults = {{"none", SimFault::None},
                                 {"silence", SimFault::Silence},
                                 {"removal", SimFault::RemovalMidTransfer},
                                 {"wrong-code", SimFault::WrongCode},
                                 {"pressure", SimFault::PressureReadFails}};

template <typename T>
std::optional<T> Named(const Names<T>& names, const std::string& word) {
  for (const auto& [name, value] : names) {
    if (name == word) return value;
  }
  return std::nullopt;
}

GadgetReply Done(std::string text = {}) { return {true, std::move(text), false}; }
GadgetReply Refused(std::string why) { return {false, std::move(why), false}; }

// One to four hexadecimal digits, "0x" optional.
std::optional<uint16_t> ParseVersion(const std::string& word) {
  char* end = nullptr;
  const unsigned long value = std::strtoul(word.c_str(), &end, 16);
  if (word.empty() || word[0] == '-' || *end != '\0' || value > 0xFFFF) return std::nullopt;
  return static_cast<uint16_t>(value);
}

GadgetReply Plug(AltimeterGadget& gadget, const Words& words) {
  const std::optional<SimPortMode> mode = Named(kModes, words[1]);
  std::optional<uint16_t> version = mode == SimPortMode::Bootloader ? kSimBootloaderVersion : kSimFirmwareVersion;
  if (words.size() == 3) version = ParseVersion(words[2]);
  if (!mode || !version) return Refused("usage: plug application|bootloader [VERSION]");
  std::string error;
  if (!gadget.PlugIn(*mode, *version, error)) return Refused(error);
  return Done();
}

GadgetReply Pull(AltimeterGadget& gadget, const Words&) {
  gadget.PullOut();
  return Done();
}

GadgetReply Memory(AltimeterGadget& gadget, const Words& words) {
  const std::optional<MemoryPreset> preset = Named(kPresets, words[1]);
  if (!preset) return Refused("usage: memory empty|one|several|full");
  gadget.LoadMemory(*preset);
  return Done();
}

GadgetReply Paced(AltimeterGadget& gadget, const Words& words) {
  const std::optional<bool> paced = Named(kSwitch, words[1]);
  if (!paced) return Refused("usage: paced on|off");
  gadget.SetPaced(*paced);
  return Done();
}

GadgetReply Fault(AltimeterGadget& gadget, const Words& words) {
  const std::optional<SimFault> fault = Named(kFaults, words[1]);
  if (!fault) return Refused("usage: fault none|silence|removal|wrong-code|pressure");
  if (!gadget.IsPluggedIn()) return Refused("nothing is plugged in");
  gadget.ArmFault(*fault);
  return Done();
}

template <typename Write>
GadgetReply Dump(const std::string& path, Write write) {
  std::ofstream out(path, std::ios::binary);
  write(out);
  out.close();
  if (!out) return Refused(path + " cannot be written");
  return Done();
}

GadgetReply DumpMemory(AltimeterGadget& gadget, const Words& words) {
  return Dump(words[1], [&gadget](std::ostream& out) {
    for (const DataPacket& packet : gadget.Altimeter().Memory()) WritePacket(out, packet);
  });
}

GadgetReply DumpFlash(AltimeterGadget& gadget, const Words& words) {
  return Dump(words[1], [&gadget](std::ostream& out) {
    const std::vector<uint8_t> flash = gadget.Bootloader().Flash();
    out.write(reinterpret_cast<const char*>(flash.data()), static_cast<std::streamsize>(flash.size()));
  });
}

// On one line, as the simulator window shows it on two; the text is ASCII.
GadgetReply Settings(AltimeterGadget& gadget, const Words&) {
  std::string text;
  for (const wchar_t c : DescribeSettingsImage(gadget.Altimeter().SettingsImage())) {
    if (c == L'\r') continue;
    text += c == L'\n' ? std::string("; ") : std::string(1, static_cast<char>(c));
  }
  return Done(text);
}

GadgetReply Counts(AltimeterGadget& gadget, const Words&) {
  return Done("from-host " + std::to_string(gadget.ReportsFromHost()) + " to-host " +
              std::to_string(gadget.ReportsToHost()));
}

GadgetReply Quit(AltimeterGadget&, const Words&) { return {true, {}, true}; }

struct Command {
  const char* verb;
  size_t fewestWords;
  size_t mostWords;
  GadgetReply (*run)(AltimeterGadget&, const Words&);
};

const Command kCommands[] = {
    {"plug", 2, 3, Plug},           {"pull", 1, 1, Pull},
    {"memory", 2, 2, Memory},       {"paced", 2, 2, Paced},
    {"fault", 2, 2, Fault},         {"dump-memory", 2, 2, DumpMemory},
    {"dump-flash", 2, 2, DumpFlash}, {"settings", 1, 1, Settings},
    {"counts", 1, 1, Counts},       {"quit", 1, 1, Quit},
};

}  // namespace

GadgetReply RunGadgetCommand(AltimeterGadget& gadget, const std::string& line) {
  std::istringstream text(line);
  Words words;
  for (std::string word; text >> word;) words.push_back(word);
  if (words.empty()) return Refused("an empty line");
  for (const Command& command : kCommands) {
    if (words[0] != command.verb) continue;
    if (words.size() < command.fewestWords || words.size() > command.mostWords) {
      return Refused("wrong number of words for " + words[0]);
    }
    return command.run(gadget, words);
  }
  return Refused("no such command: " + words[0]);
}
