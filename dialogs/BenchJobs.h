#pragma once
// Control Options' jobs on a connected altimeter: the pressure and battery
// readings, firing both lines, and the launch emulation of the flight shown.
// Each starts with the controls busy and ends with them idle on every path.
#include "dialogs/JobView.h"

class AltimeterLink;

enum class BenchJob { ReadPressure, ReadBattery, FireLines, EmulateLaunch };

void RunBenchJob(AltimeterLink& link, JobView& view, BenchJob job);
