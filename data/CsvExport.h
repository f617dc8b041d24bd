#pragma once
// The CSV export of one data set: a header line and one row per sample with
// time, ADC count, voltage, pressure, both altitudes, smoothed velocity in
// km/h and the line flags. Lines end in LF; numbers in the program's number text.
#include <ostream>

#include "data/DataSet.h"

// Writes the whole export; the stream should be binary. False when a write failed.
bool WriteCsv(std::ostream& out, const DataSet& set);
