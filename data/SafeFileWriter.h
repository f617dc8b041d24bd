#pragma once
// Writes a file so that a failure never costs the file that stood there: the
// bytes go to a temporary file beside the target, which replaces the target
// only after every byte was written and the file closed without error. Until
// then, and whenever something fails, the target is untouched and the
// temporary file is removed.
#include <filesystem>
#include <fstream>

class SafeFileWriter {
 public:
  // Creates the temporary file (binary mode) in the target's folder.
  explicit SafeFileWriter(const std::filesystem::path& target);
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // False when the temporary file could not be created.
  bool IsOpen() const { return out_.is_open(); }
  std::ostream& Stream() { return out_; }

  // Flushes and closes the temporary file and moves it over the target.
  // True only when every write, the close and the move succeeded; on false
  // the target is as it was. Call once.
  bool Commit();

 private:
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::ofstream out_;
};
