#pragma once
// The jobs as the dialogs' workers run them through the link, and what a
// completed one must have left on the device.
#include <filesystem>
#include <string>

#include "device/AltimeterLink.h"
#include "dialogs/CampaignDevices.h"
#include "dialogs/CampaignScript.h"

// On the dialog's thread, before the job starts: what its dialog sets up.
void PrepareJob(const CampaignScript& script, AltimeterLink& link, const std::filesystem::path& firmwareFile);

// On the worker: 0 when the job succeeded, kCommandCancelled for a cancelled
// download, another negative value when it failed.
int RunJob(const CampaignScript& script, AltimeterLink& link, const std::filesystem::path& firmwareFile);

// After a success: empty, or what the job did not leave as it should.
std::string CompletedJobFault(const CampaignScript& script, AltimeterLink& link, CampaignDevices& devices);
