#include "tools/zeltool/FileLink.h"

#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/SetFiles.h"

bool LoadOrExplain(AltimeterLink& link, const std::wstring& path, ZeltoolIo& io) {
  const DataSetFileStatus status = LoadSetFile(link, ArgPath(path));
  if (status == DataSetFileStatus::Loaded) return true;
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
