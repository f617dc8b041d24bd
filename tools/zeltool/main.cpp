// zeltool's entry point where the command line is bytes (any file name the
// system holds, UTF-8 or not); altimeters are reached through hidraw.
#include <unistd.h>

#include "device/linux/HidapiBackend.h"
#include "tools/zeltool/DeviceAccess.h"
#include "tools/zeltool/Zeltool.h"

int main(int argc, char** argv) {
  HidapiBackend hidraw;
  const ZeltoolDevices devices(hidraw, isatty(STDERR_FILENO) == 1);
  return ZeltoolMain(argc, argv);
}
