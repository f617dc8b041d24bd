#include "data/CountedString.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "data/LittleEndianIo.h"

namespace {

// Bytes read per step, so a damaged length grows the text only as far as the data goes.
constexpr uint32_t kReadStep = 4096;

}  // namespace

bool WriteCountedString(std::ostream& out, const std::string& text) {
  if (text.size() >= std::numeric_limits<uint32_t>::max()) return false;
  WriteLittleEndian<uint32_t>(out, static_cast<uint32_t>(text.size() + 1));
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.put('\0');
  return out.good();
}

std::string ReadCountedString(std::istream& in) {
  uint32_t remaining = ReadLittleEndian<uint32_t>(in);
  std::string bytes;
  while (remaining > 0 && in) {
    const uint32_t step = std::min(remaining, kReadStep);
    const size_t before = bytes.size();
    bytes.resize(before + step);
    in.read(&bytes[before], step);
    bytes.resize(before + static_cast<size_t>(in.gcount()));
    remaining -= step;
  }
  return bytes.substr(0, bytes.find('\0'));
}
