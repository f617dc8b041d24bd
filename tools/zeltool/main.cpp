// zeltool's entry point where the command line is narrow text (taken as the
// platform's file name encoding).
#include <filesystem>
#include <string>
#include <vector>

#include "tools/zeltool/Zeltool.h"

int main(int argc, char** argv) {
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.push_back(std::filesystem::path(argv[i]).wstring());
  return ZeltoolMain(args);
}
