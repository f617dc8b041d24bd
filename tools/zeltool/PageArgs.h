#pragma once
// What zeltool's page commands, report and compare, share on their command
// line and in their output file.
#include <ctime>
#include <functional>
#include <ostream>
#include <string>

#include "tools/zeltool/CommandTable.h"
#include "view/page/PageFiles.h"

// The format an output file's name asks for, in any case: .pdf, .png or .svg
// natively, .png or .emf on Windows.
bool ParsePageFormat(const std::wstring& output, PageFormat& format);

// The output files this build writes, for a usage line: "OUT.pdf|OUT.png|OUT.svg".
std::string PageOutputWords();

// The present, as a page records it. The environment's SOURCE_DATE_EPOCH
// (seconds since 1970-01-01 UTC), when it holds such a count, stands for it,
// so that a page can be made again byte for byte.
std::time_t PageTime();

// Writes the page that `write` produces to `output`, whole or not at all;
// false, after a line on io.err, when it could not be written.
bool WritePageFile(const std::wstring& output, const std::function<bool(std::ostream&)>& write, ZeltoolIo& io);
