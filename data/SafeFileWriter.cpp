#include "data/SafeFileWriter.h"

#include <atomic>
#include <chrono>
#include <iomanip>
#include <sstream>
#include <system_error>

namespace {

// A name beside the target that no other writer, in this process or another, picks.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  static std::atomic<unsigned> serial{0};
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::ostringstream suffix;
  suffix << '.' << std::hex << (static_cast<unsigned long long>(ticks) & 0xFFFFFFFFFFull) << '-' << serial++ << ".partial";
  std::filesystem::path name = target.filename();
  name += suffix.str();
  return target.parent_path() / name;
}

}  // namespace

SafeFileWriter::SafeFileWriter(const std::filesystem::path& target)
    : target_(target), temporary_(TemporaryBeside(target)) {
  if (target_.has_filename()) out_.open(temporary_, std::ios::binary | std::ios::trunc);
}

SafeFileWriter::~SafeFileWriter() {
  if (!temporary_.empty()) Discard();
}

bool SafeFileWriter::Commit() {
  if (!out_.is_open()) return false;
  out_.flush();
  const bool written = out_.good();
  out_.close();
  if (!written || out_.fail()) {
    Discard();
    return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary_, target_, error);
  if (error) {
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void SafeFileWriter::Discard() {
  if (out_.is_open()) out_.close();
  std::error_code ignored;  // nothing more to do when it cannot be removed
  std::filesystem::remove(temporary_, ignored);
  temporary_.clear();
}
