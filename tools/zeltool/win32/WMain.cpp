// zeltool's Windows entry point: the command line as wide text, so any file
// name reaches the tool intact (linked with -municode).
#include <string>
#include <vector>

#include "tools/zeltool/Zeltool.h"

extern "C" int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return ZeltoolMain(args);
}
