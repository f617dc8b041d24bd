#pragma once
// The XML export of one data set: the device, the comment when there is one,
// and the altitude above sea level of every sample. Lines end in LF and the
// file ends with "</xml>" and no line end; numbers in the program's number text.
#include <ostream>
#include <string>

#include "data/DataSet.h"

// Writes the whole export; `comment` null leaves the comments element out,
// otherwise it goes through EscapeXml, so any comment gives well-formed XML.
// The stream should be binary. False when a write failed.
bool WriteXml(std::ostream& out, const DataSet& set, const std::string* comment);
