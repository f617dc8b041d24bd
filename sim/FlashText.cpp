#include "sim/FlashText.h"

#include <fstream>
#include <iterator>

#include "device/FirmwareImage.h"

namespace {

std::wstring Comparison(const std::vector<uint8_t>& flash, const std::filesystem::path& image) {
  const std::wstring name = image.filename().wstring();
  std::ifstream in(image, std::ios::binary);
  std::vector<uint8_t> plain((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.is_open() || plain.size() > flash.size()) return L"; " + name + L" cannot be read";
  plain.resize(flash.size(), kErasedFlashByte);
  for (size_t i = 0; i < flash.size(); ++i) {
    if (flash[i] != plain[i]) return L"; differs from " + name + L" at block " + std::to_wstring(i / kFirmwareBlockSize);
  }
  return L"; matches " + name;
}

}  // namespace

std::wstring DescribeFlash(int blocksWritten, const std::vector<uint8_t>& flash, const std::filesystem::path& image) {
  std::wstring text = L"Flash: " + std::to_wstring(blocksWritten) + L" blocks written";
  if (!image.empty()) text += Comparison(flash, image);
  return text;
}
