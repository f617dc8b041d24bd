#pragma once
// Download Data's jobs: the download, with the device's settings read first
// (they convert the flights and go into their files) and nothing kept of a
// cancelled one; and the clearing of the flight memory.
#include <cstddef>

#include "dialogs/JobView.h"

class AltimeterLink;

void RunDownload(AltimeterLink& link, JobView& view);
void RunMemoryClear(AltimeterLink& link, JobView& view);

// Drops the downloaded packets and the set the main window shows.
void ForgetDownload(AltimeterLink& link);
size_t PacketCount(const AltimeterLink& link);
