#pragma once
// What Control Options says in its status box about a pressure reading, a
// battery reading and the events of a launch emulation, in the program's
// number text.
#include <cstdint>
#include <string>
#include <vector>

#include "data/DeviceSettings.h"

// The calibration offset of a settings record read from the device. A record
// whose checksum is wrong is taken as the defaults (offset 0), as a download
// takes it, rather than trusting a damaged byte.
int32_t StoredAdcOffset(DeviceSettings record);

// The lines of a pressure reading: the raw count (after an empty line), then
// its voltage, pressure and altitude above sea level with `adcOffset` added.
std::vector<std::wstring> PressureReadingLines(uint16_t adc, int32_t adcOffset);

// "Current Voltage: 9.4 Volts" for a reply of 94 tenths.
std::wstring BatteryVoltageLine(uint16_t tenthsOfVolt);

// The line of a code the device sent during a launch emulation, with the
// samples sent so far; empty for a code that shows nothing.
std::wstring EmulationEventLine(int code, int samplesSent);
