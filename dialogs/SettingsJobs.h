#pragma once
// Device Settings' jobs: reading the record, writing an entry (the flights are
// cleared first: the device keeps no flights across a new record), and the
// calibration, which reads the record, measures the sensor and writes the
// entry with the offset found.
#include <cstdint>
#include <optional>

#include "dialogs/JobView.h"

class AltimeterLink;

// Nothing when the entry can be written.
std::optional<EntryRefusal> RefusalOf(const SettingsEntry& entry);

void RunSettingsRead(AltimeterLink& link, JobView& view);
// 0 when written, -1 otherwise. Nothing is erased before every value is known to fit.
int RunSettingsWrite(AltimeterLink& link, JobView& view, const SettingsEntry& entry);
void RunCalibration(AltimeterLink& link, JobView& view, const SettingsEntry& entry, uint32_t groundAltitude);
