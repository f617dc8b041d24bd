#pragma once
// Update Firmware's job: the firmware file at `path` into the connected
// bootloader, its progress in tens of per cent and its result as status lines.
#include <filesystem>

#include "dialogs/JobView.h"

class AltimeterLink;

void RunFirmwareUpdate(AltimeterLink& link, JobView& view, const std::filesystem::path& path);
