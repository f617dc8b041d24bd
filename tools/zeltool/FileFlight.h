#pragma once
// One flight (set) of a data set file, read for a page: its data, its
// statistics, and its name and comment as a page prints them.
#include <string>

#include "data/DataSet.h"
#include "data/FlightStats.h"
#include "tools/zeltool/CommandTable.h"

struct FileFlight {
  std::string name;     // the file's name (no folder) and set: "flight.zel, set 0"
  std::string comment;  // PrintableText
  DataSet set;
  FlightStats stats;
};

// Reads set `setNumber` (from 0) of the file the word `file` names; false,
// after a line on io.err, when the file cannot be read or lacks that set.
bool ReadFileFlight(const std::wstring& file, int setNumber, FileFlight& flight, ZeltoolIo& io);

// `bytes` as a page can print them: well-formed UTF-8 kept, every other byte
// (a Latin-1 comment's) as U+FFFD, and each run of control characters (a
// comment's line breaks) as one blank.
std::string PrintableText(const std::string& bytes);
