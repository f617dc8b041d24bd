// zeltool's entry point where the command line is narrow text (taken as the
// platform's file name encoding); altimeters are reached through hidraw.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "device/linux/HidapiBackend.h"
#include "tools/zeltool/DeviceAccess.h"
#include "tools/zeltool/Zeltool.h"

int main(int argc, char** argv) {
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.push_back(std::filesystem::path(argv[i]).wstring());
  HidapiBackend hidraw;
  const ZeltoolDevices devices(hidraw, isatty(STDOUT_FILENO) == 1);
  return ZeltoolMain(args);
}
