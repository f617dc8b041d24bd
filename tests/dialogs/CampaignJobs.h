#pragma once
// The jobs as the dialogs run them, through their own job bodies, and what a
// job must have left on the device and in the link, however it ended.
#include <filesystem>
#include <string>
#include <vector>

#include "device/AltimeterLink.h"
#include "dialogs/CampaignDevices.h"
#include "dialogs/CampaignScript.h"
#include "dialogs/JobHost.h"
#include "dialogs/JobView.h"

enum class JobResult { Succeeded, Cancelled, Failed };

JobKind KindOf(CampaignJob job);

// On the dialog's thread, before the job starts: what its dialog sets up.
void PrepareJob(const CampaignScript& script, AltimeterLink& link, const std::filesystem::path& firmwareFile);

// On the worker: the dialog's job body.
void RunJob(const CampaignScript& script, AltimeterLink& link, JobView& view, const std::filesystem::path& firmwareFile);

// How the job ended, by the lines it said and whether it gave the dialog's
// read button back (a download's failure does, its cancel does not).
JobResult ResultOf(CampaignJob job, const std::vector<std::wstring>& lines, bool readOffered);

// Empty, or what the job did not leave as it should: after a success, the
// device and the link as the job means them; after a cancel or a failure,
// nothing half done.
std::string CompletedJobFault(const CampaignScript& script, AltimeterLink& link, CampaignDevices& devices);
std::string EndedEarlyFault(const CampaignScript& script, AltimeterLink& link, CampaignDevices& devices,
                            JobResult result);
