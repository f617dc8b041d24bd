// zeltool's Windows entry point: the command line as wide text, so any file
// name reaches the tool intact (linked with -municode); altimeters are
// reached through SetupAPI.
#include <io.h>

#include <cstdio>

#include "device/win32/Win32HidBackend.h"
#include "tools/zeltool/DeviceAccess.h"
#include "tools/zeltool/Zeltool.h"

extern "C" int wmain(int argc, wchar_t** argv) {
  Win32HidBackend setupApi;
  const ZeltoolDevices devices(setupApi, _isatty(_fileno(stderr)) != 0);
  return ZeltoolMain(argc, argv);
}
