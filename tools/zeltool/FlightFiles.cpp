#include "tools/zeltool/FlightFiles.h"

#include <algorithm>
#include <string>

#include "tools/zeltool/ArgText.h"

namespace {

const std::string kPrefix = "flight-";
const size_t kExtensionLength = 4;

std::string LowercaseName(const std::filesystem::path& file) {
  std::string name = PathText(file.filename());
  std::transform(name.begin(), name.end(), name.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return name;
}

// The flight number's digits in a flight file's name; empty for other names.
std::string FlightDigits(const std::filesystem::path& file) {
  const std::string name = LowercaseName(file);
  if (name.size() <= kPrefix.size() + kExtensionLength || name.compare(0, kPrefix.size(), kPrefix) != 0) return "";
  const std::string extension = name.substr(name.size() - kExtensionLength);
  if (extension != ".zel" && extension != ".csv") return "";
  const std::string digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kExtensionLength);
  return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) ? digits : "";
}

bool ByFlightNumber(const std::filesystem::path& a, const std::filesystem::path& b) {
  const std::string digitsA = FlightDigits(a), digitsB = FlightDigits(b);
  if (digitsA.size() != digitsB.size()) return digitsA.size() < digitsB.size();
  return digitsA != digitsB ? digitsA < digitsB : LowercaseName(a) > LowercaseName(b);  // .zel before .csv
}

}  // namespace

std::filesystem::path FlightFile(const std::filesystem::path& folder, int set, const char* extension) {
  return folder / (kPrefix + std::to_string(set + 1) + extension);
}

std::vector<std::filesystem::path> FlightFilesIn(const std::filesystem::path& folder, std::error_code& error) {
  std::vector<std::filesystem::path> found;
  const std::filesystem::file_status status = std::filesystem::status(folder, error);
  if (status.type() == std::filesystem::file_type::not_found) {
    error.clear();
    return found;
  }
  if (!error && !std::filesystem::is_directory(status)) error = std::make_error_code(std::errc::not_a_directory);
  std::filesystem::directory_iterator entry;
  if (!error) entry = std::filesystem::directory_iterator(folder, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    if (!FlightDigits(entry->path()).empty()) found.push_back(entry->path());
  }
  std::sort(found.begin(), found.end(), ByFlightNumber);
  return found;
}

std::vector<std::filesystem::path> FilesNotWritten(const std::vector<std::filesystem::path>& earlier,
                                                   const std::vector<std::filesystem::path>& written) {
  std::vector<std::filesystem::path> left;
  for (const std::filesystem::path& file : earlier) {
    const bool replaced = std::any_of(written.begin(), written.end(), [&](const std::filesystem::path& other) {
      return LowercaseName(other) == LowercaseName(file);
    });
    if (!replaced) left.push_back(file);
  }
  return left;
}

std::string NameList(const std::vector<std::filesystem::path>& files) {
  std::string list;
  for (const std::filesystem::path& file : files) list += (list.empty() ? "" : ", ") + PathText(file.filename());
  return list;
}
