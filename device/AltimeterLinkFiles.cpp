// The data set file and export operations of AltimeterLink. Each gathers what
// it needs under dataMutex and does its file I/O outside it, so a slow disk
// never holds up a drawing. Loads read into locals and change memory only on
// success; writes go through SafeFileWriter.
#include <filesystem>

#include "base/DebugLog.h"
#include "data/CsvExport.h"
#include "data/DataSetFile.h"
#include "data/SafeFileWriter.h"
#include "data/SetDirectory.h"
#include "data/XmlExport.h"
#include "device/AltimeterLink.h"

bool AltimeterLink::SaveDataSet(const std::filesystem::path& path, int setNumber) {
  DebugLog << "Selected set to save: " << std::dec << setNumber << std::endl;
  SafeFileWriter writer{path};
  if (!writer.IsOpen()) return false;

  DataSetFileContent content;
  {
    const auto lock = LockData();
    const int32_t start = ::SetStartPacket(packets, setNumber);
    DebugLog << "Set address: " << std::dec << start << std::endl;
    if (start < 0) return false;
    const int32_t count = ::SetPacketCount(packets, setNumber);
    DebugLog << "Packet Count: " << std::dec << count << std::endl;
    content.packets.assign(packets.begin() + start, packets.begin() + start + count);
    content.settings = settings;
    if (static_cast<size_t>(setNumber) < comments.size()) content.comment = comments[setNumber];
  }
  return WriteDataSetFile(writer.Stream(), content) && writer.Commit();
}

bool AltimeterLink::LoadDataSet(const std::filesystem::path& path) {
  DataSetFileContent content;
  content.settings = settings;
  if (ReadDataSetFile(path, content) != DataSetFileStatus::Loaded) return false;
  const auto lock = LockData();
  packets = std::move(content.packets);
  settings = content.settings;
  comments.assign(1, std::move(content.comment));
  return true;
}

bool AltimeterLink::ExportCsv(const std::filesystem::path& path, int setNumber) {
  return ExportSet(path, setNumber,
                   [](std::ostream& out, const DataSet& set, const std::string*) { return WriteCsv(out, set); });
}

bool AltimeterLink::ExportXml(const std::filesystem::path& path, int setNumber) {
  return ExportSet(path, setNumber, WriteXml);
}

bool AltimeterLink::ExportSet(const std::filesystem::path& path, int32_t setNumber, SetWriter write) {
  SafeFileWriter writer{path};
  if (!writer.IsOpen()) return false;
  DataSet set;
  std::string comment;
  bool hasComment = false;
  {
    const auto lock = LockData();
    if (!ComputeDataSetLocked(setNumber)) return false;
    set = currentSet;
    hasComment = setNumber >= 0 && static_cast<size_t>(setNumber) < comments.size();
    if (hasComment) comment = comments[setNumber];
  }
  return write(writer.Stream(), set, hasComment ? &comment : nullptr) && writer.Commit();
}
