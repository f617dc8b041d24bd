#include "sim/linux/ConfigfsGadget.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kGadgets = "/sys/kernel/config/usb_gadget";
constexpr char kStrings[] = "strings/0x409";  // US English
constexpr char kConfig[] = "configs/c.1";
constexpr char kFunction[] = "functions/hid.0";
constexpr char kLink[] = "configs/c.1/hid.0";
constexpr auto kNodeWait = std::chrono::seconds(2);
constexpr auto kNodePoll = std::chrono::milliseconds(10);

// Reports of `length` vendor-defined bytes each way, without report IDs.
std::string ReportDescriptor(size_t length) {
  const auto count = static_cast<char>(length);
  const char descriptor[] = {
      '\x06', '\x00', '\xFF',  // usage page: vendor-defined
      '\x09', '\x01',          // usage 1
      '\xA1', '\x01',          // collection: application
      '\x15', '\x00',          // logical minimum 0
      '\x26', '\xFF', '\x00',  // logical maximum 255
      '\x75', '\x08',          // report size: 8 bits
      '\x95', count,           // report count
      '\x09', '\x01',          // usage 1
      '\x81', '\x02',          // input: data, variable, absolute
      '\x95', count,           // report count
      '\x09', '\x01',          // usage 1
      '\x91', '\x02',          // output: data, variable, absolute
      '\xC0',                  // end of the collection
  };
  return std::string(descriptor, sizeof descriptor);
}

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04x", value);
  return text;
}

// configfs takes an attribute in one write, and says in its status what it refused.
bool WriteAttribute(const fs::path& file, const std::string& value, std::string& error) {
  const UniqueFd attribute(open(file.c_str(), O_WRONLY | O_CLOEXEC));
  if (attribute.Valid() && write(attribute.Get(), value.data(), value.size()) == static_cast<ssize_t>(value.size())) {
    return true;
  }
  error = file.string() + ": " + std::strerror(errno);
  return false;
}

bool MakeFolder(const fs::path& folder, std::string& error) {
  std::error_code failed;
  fs::create_directories(folder, failed);
  if (failed) error = folder.string() + ": " + failed.message();
  return !failed;
}

}  // namespace

ConfigfsGadget::ConfigfsGadget(std::string name) : name_(std::move(name)), root_(kGadgets / name_) {}

ConfigfsGadget::~ConfigfsGadget() {
  Unplug();
  if (!made_) return;
  std::error_code ignored;
  for (const fs::path& part : {fs::path(kLink), kConfig / fs::path(kStrings), fs::path(kConfig), fs::path(kFunction),
                              fs::path(kStrings), fs::path()}) {
    fs::remove(root_ / part, ignored);
  }
}

bool ConfigfsGadget::Made(std::string& error) {
  if (made_) return true;
  for (const fs::path& part : {fs::path(kStrings), kConfig / fs::path(kStrings), fs::path(kFunction)}) {
    if (!MakeFolder(root_ / part, error)) return false;
  }
  made_ = true;
  return true;
}

// The function's report length is fixed while it belongs to a configuration,
// so it leaves the configuration to change and comes back.
bool ConfigfsGadget::Describe(const GadgetIdentity& identity, std::string& error) const {
  std::error_code failed;
  fs::remove(root_ / kLink, failed);
  const fs::path function = root_ / kFunction;
  const fs::path strings = root_ / kStrings;
  const std::vector<std::pair<fs::path, std::string>> attributes = {
      {function / "protocol", "0"},
      {function / "subclass", "0"},
      {function / "report_length", std::to_string(identity.reportLength)},
      {function / "report_desc", ReportDescriptor(identity.reportLength)},
      {root_ / "idVendor", Hex(identity.vendorId)},
      {root_ / "idProduct", Hex(identity.productId)},
      {root_ / "bcdDevice", Hex(identity.release)},
      {root_ / "bcdUSB", Hex(0x0200)},
      {strings / "manufacturer", identity.manufacturer},
      {strings / "product", identity.product},
      {strings / "serialnumber", name_},
      {root_ / kConfig / "MaxPower", "100"},
      {root_ / kConfig / kStrings / "configuration", "HID"},
  };
  for (const auto& [file, value] : attributes) {
    if (!WriteAttribute(file, value, error)) return false;
  }
  fs::create_symlink(function, root_ / kLink, failed);
  if (failed) error = (root_ / kLink).string() + ": " + failed.message();
  return !failed;
}

bool ConfigfsGadget::Plug(const GadgetIdentity& identity, const std::string& udc, std::string& error) {
  Unplug();
  if (!Made(error) || !Describe(identity, error) || !WriteAttribute(root_ / "UDC", udc, error)) return false;
  plugged_ = true;
  return true;
}

void ConfigfsGadget::Unplug() {
  if (!plugged_) return;
  std::string ignored;
  WriteAttribute(root_ / "UDC", "\n", ignored);
  plugged_ = false;
}

// The node is named after the function's minor number.
fs::path ConfigfsGadget::NodePath() const {
  std::ifstream dev(root_ / kFunction / "dev");
  unsigned major = 0, minor = 0;
  char colon = 0;
  if (!(dev >> major >> colon >> minor)) return {};
  return "/dev/hidg" + std::to_string(minor);
}

UniqueFd ConfigfsGadget::OpenNode(std::string& error) const {
  const fs::path node = NodePath();
  const auto deadline = std::chrono::steady_clock::now() + kNodeWait;
  for (;;) {
    UniqueFd opened(node.empty() ? -1 : open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    if (opened.Valid()) return opened;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kNodePoll);
  }
  error = (node.empty() ? root_ / kFunction / "dev" : node).string() + " did not appear";
  return UniqueFd();
}
