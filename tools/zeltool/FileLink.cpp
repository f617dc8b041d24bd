#include "tools/zeltool/FileLink.h"

#include "data/DataSetFile.h"
#include "tools/zeltool/ArgText.h"

bool LoadOrExplain(AltimeterLink& link, const std::wstring& path, ZeltoolIo& io) {
  if (link.LoadDataSet(ArgPath(path))) return true;
  DataSetFileContent ignored;
  const DataSetFileStatus status = ReadDataSetFile(ArgPath(path), ignored);
  io.err << "zeltool: " << NarrowText(path) << ' ' << DescribeDataSetFileStatus(status) << '\n';
  return false;
}

bool HasSetOrExplain(const AltimeterLink& link, const std::wstring& path, int setNumber, ZeltoolIo& io) {
  const int32_t sets = link.CountSets();
  if (setNumber < sets) return true;
  io.err << "zeltool: " << NarrowText(path) << " has no set " << setNumber << " (it holds " << sets
         << (sets == 1 ? " set)\n" : " sets)\n");
  return false;
}
