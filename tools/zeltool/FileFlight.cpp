#include "tools/zeltool/FileFlight.h"

#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/FileLink.h"
#include "tools/zeltool/Utf8.h"

bool ReadFileFlight(const std::wstring& file, int setNumber, FileFlight& flight, ZeltoolIo& io) {
  FileLink files;
  AltimeterLink& link = files.link;
  if (!LoadOrExplain(link, file, io) || !HasSetOrExplain(link, file, setNumber, io)) return false;
  link.ComputeDataSet(setNumber);
  const auto lock = link.LockData();
  const size_t index = static_cast<size_t>(setNumber);
  flight.name = PrintableText(PathText(ArgPath(file).filename())) + ", set " + std::to_string(setNumber);
  flight.comment = PrintableText(index < link.comments.size() ? link.comments[index] : "");
  flight.set = link.currentSet;
  flight.stats = ComputeFlightStats(flight.set);
  return true;
}

std::string PrintableText(const std::string& bytes) {
  std::string text;
  for (size_t at = 0; at < bytes.size();) {
    char32_t c = 0;
    const size_t length = Utf8SequenceAt(bytes, at, c);
    at += length > 0 ? length : 1;
    if (length > 0 && IsControlCharacter(c)) {
      if (text.empty() || text.back() != ' ') text += ' ';  // CR LF is one blank
    } else {
      AppendUtf8(text, length == 0 ? kReplacementCharacter : c);
    }
  }
  return text;
}
