#pragma once
// What zeltool's commands on data set files share: a link that only ever works
// on files, and the one line that says why a file or a set cannot be used.
#include <string>

#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "tools/zeltool/CommandTable.h"

struct FileLink {
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
};

// Loads the file the word `path` names (ArgPath) into the link; false, after
// saying why on io.err, when it cannot.
bool LoadOrExplain(AltimeterLink& link, const std::wstring& path, ZeltoolIo& io);

// Whether the loaded file `path` holds set `setNumber`; false, after saying so
// on io.err, when it does not.
bool HasSetOrExplain(const AltimeterLink& link, const std::wstring& path, int setNumber, ZeltoolIo& io);
