#pragma once
// Where the sets the main window shows came from, to name the displayed set
// on the pages made of it: the data file last opened, until a download
// replaces its sets.
#include <filesystem>
#include <string>

#include "data/DataSet.h"

class AltimeterLink;

// The sets in memory are those of the file at `path`.
void SetsCameFromFile(const std::filesystem::path& path);
// The sets in memory were downloaded from the altimeter.
void SetsCameFromAltimeter();

// The displayed set as a page shows it: name and comment in UTF-8.
struct DisplayedFlight {
  std::string name;     // "flight.zel, set 0", or "altimeter download, set 2"
  std::string comment;  // on one line
  DataSet set;
};

// A copy of the displayed set with its name and comment (the program keeps
// comments in the system's code page).
DisplayedFlight DisplayedFlightOf(const AltimeterLink& link);
