#pragma once
// A folder of its own under the temporary directory, removed with everything
// in it when the object goes; for tests that look at what lies beside a file.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

class TempFolder {
 public:
  TempFolder() : path_(UniquePath()) { std::filesystem::create_directories(path_); }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path Path(const std::string& name) const { return path_ / name; }
  std::wstring WidePath(const std::string& name) const { return Path(name).wstring(); }

  // The names of the entries in the folder, sorted.
  std::string Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += name + ";";
    return listing;
  }

 private:
  static std::filesystem::path UniquePath() {
    static std::atomic<int> counter{0};
    static const unsigned salt = std::random_device{}();
    return std::filesystem::temp_directory_path() /
           ("zel-test-" + std::to_string(salt) + "-" + std::to_string(counter++));
  }

  std::filesystem::path path_;
};

inline std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
