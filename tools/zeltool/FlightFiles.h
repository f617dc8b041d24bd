#pragma once
// The files a download writes into its folder: flight-N.zel, and flight-N.csv
// beside it with --csv, N counting the flights from 1.
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// The file of set `set` (0 is flight 1) with `extension`, ".zel" or ".csv".
std::filesystem::path FlightFile(const std::filesystem::path& folder, int set, const char* extension);

// The flight files in `folder`, whatever their letter case (Windows would
// write over them all), sorted by flight number; none when there is no such
// folder. `error` is set when it cannot be listed or is not a folder.
std::vector<std::filesystem::path> FlightFilesIn(const std::filesystem::path& folder, std::error_code& error);

// The files of `earlier` that no file of `written` replaced, names compared
// regardless of letter case.
std::vector<std::filesystem::path> FilesNotWritten(const std::vector<std::filesystem::path>& earlier,
                                                   const std::vector<std::filesystem::path>& written);

// The files' names, without their folder: "flight-1.zel, flight-1.csv".
std::string NameList(const std::vector<std::filesystem::path>& files);
