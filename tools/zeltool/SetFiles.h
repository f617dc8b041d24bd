#pragma once
// The link's data set file and export operations for files named by a path.
// AltimeterLink's own take wide text, which on Linux names ASCII files only,
// while zeltool's arguments may name any file. These use the program's own
// file reader and writers, so the bytes are those the program writes.
#include <filesystem>

#include "data/DataSetFile.h"
#include "device/AltimeterLink.h"

enum class ExportFormat { Csv, Xml };

// As AltimeterLink::LoadDataSet; the status says why a file did not load.
DataSetFileStatus LoadSetFile(AltimeterLink& link, const std::filesystem::path& path);

// As AltimeterLink::SaveDataSet.
bool SaveSetFile(AltimeterLink& link, const std::filesystem::path& path, int setNumber);

// As AltimeterLink::ExportCsv and AltimeterLink::ExportXml.
bool ExportSetFile(AltimeterLink& link, const std::filesystem::path& path, int setNumber, ExportFormat format);
