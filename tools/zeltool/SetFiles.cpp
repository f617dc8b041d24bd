#include "tools/zeltool/SetFiles.h"

#include <utility>

#include "data/CsvExport.h"
#include "data/SafeFileWriter.h"
#include "data/XmlExport.h"

namespace {

const std::string* CommentOf(const AltimeterLink& link, int setNumber) {
  return setNumber >= 0 && static_cast<size_t>(setNumber) < link.comments.size() ? &link.comments[setNumber]
                                                                                 : nullptr;
}

}  // namespace

DataSetFileStatus LoadSetFile(AltimeterLink& link, const std::filesystem::path& path) {
  DataSetFileContent content;
  content.settings = link.settings;
  const DataSetFileStatus status = ReadDataSetFile(path, content);
  if (status != DataSetFileStatus::Loaded) return status;
  const auto lock = link.LockData();
  link.packets = std::move(content.packets);
  link.settings = content.settings;
  link.comments.assign(1, std::move(content.comment));
  return status;
}

bool SaveSetFile(AltimeterLink& link, const std::filesystem::path& path, int setNumber) {
  SafeFileWriter writer(path);
  const int32_t start = link.SetStartPacket(setNumber);
  if (!writer.IsOpen() || start < 0) return false;
  const int32_t count = link.SetPacketCount(setNumber);
  DataSetFileContent content;
  {
    const auto lock = link.LockData();
    content.packets.assign(link.packets.begin() + start, link.packets.begin() + start + count);
    content.settings = link.settings;
    if (const std::string* comment = CommentOf(link, setNumber)) content.comment = *comment;
  }
  return WriteDataSetFile(writer.Stream(), content) && writer.Commit();
}

bool ExportSetFile(AltimeterLink& link, const std::filesystem::path& path, int setNumber, ExportFormat format) {
  SafeFileWriter writer(path);
  if (!writer.IsOpen() || !link.ComputeDataSet(setNumber)) return false;
  const auto lock = link.LockData();  // zeltool runs no other thread: held while writing
  const DataSet& set = link.currentSet;
  const bool written = format == ExportFormat::Csv ? WriteCsv(writer.Stream(), set)
                                                   : WriteXml(writer.Stream(), set, CommentOf(link, setNumber));
  return written && writer.Commit();
}
