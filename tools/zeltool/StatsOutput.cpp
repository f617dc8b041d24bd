#include "tools/zeltool/StatsOutput.h"

#include <iomanip>
#include <string>

#include "data/FlightStatRows.h"
#include "tools/zeltool/CsvField.h"
#include "tools/zeltool/JsonText.h"
#include "tools/zeltool/TerminalText.h"

namespace {

constexpr int kLabelWidth = 15;
constexpr int kValueWidth = 13;

// The comment's lines, each after the first under the value column.
std::string IndentedLines(const std::string& text) {
  std::string indented;
  for (const char c : text) {
    if (c == '\r') continue;
    indented += c;
    if (c == '\n') indented += std::string(2 + kLabelWidth, ' ');
  }
  return indented;
}

void WriteRow(std::ostream& out, const StatRow& row) {
  out << "  " << std::left << std::setw(kLabelWidth) << row.label;
  if (row.detail.empty()) {
    out << row.value << '\n';
  } else {
    out << std::setw(kValueWidth) << row.value << ' ' << row.detail << '\n';
  }
}

std::string CsvCell(const StatsCell& cell) {
  switch (cell.kind) {
    case StatsCell::Kind::Text:
      return CsvField(cell.value);
    case StatsCell::Kind::List: {
      std::string joined;
      for (const std::string& item : cell.items) joined += (joined.empty() ? "" : "; ") + item;
      return CsvField(joined);
    }
    default:
      return cell.value;
  }
}

std::string JsonCell(const StatsCell& cell) {
  switch (cell.kind) {
    case StatsCell::Kind::Missing:
      return "null";
    case StatsCell::Kind::Text:
      return JsonString(cell.value);
    case StatsCell::Kind::List: {
      std::vector<std::string> items;
      for (const std::string& item : cell.items) items.push_back(JsonString(item));
      return JsonArray(items);
    }
    case StatsCell::Kind::Number:
    case StatsCell::Kind::Flag:
      break;
  }
  return cell.value;
}

}  // namespace

void WriteStatsText(std::ostream& out, const std::vector<FlightRecord>& flights, UnitSystem units) {
  for (size_t f = 0; f < flights.size(); ++f) {
    const FlightRecord& flight = flights[f];
    out << (f == 0 ? "" : "\n") << flight.file << ", set " << flight.set << '\n';
    if (!flight.comment.empty()) WriteRow(out, {"comment", IndentedLines(TerminalText(flight.comment)), ""});
    for (const StatRow& row : FlightStatRows(flight.stats, units)) WriteRow(out, row);
  }
}

void WriteStatsCsv(std::ostream& out, const std::vector<FlightRecord>& flights, UnitSystem units) {
  const std::vector<StatsColumn> columns = StatsColumns(units);
  for (size_t c = 0; c < columns.size(); ++c) out << (c == 0 ? "" : ",") << CsvField(columns[c].header);
  out << '\n';
  for (const FlightRecord& flight : flights) {
    for (size_t c = 0; c < columns.size(); ++c) out << (c == 0 ? "" : ",") << CsvCell(columns[c].cell(flight));
    out << '\n';
  }
}

void WriteStatsJson(std::ostream& out, const std::vector<FlightRecord>& flights, UnitSystem units) {
  const std::vector<StatsColumn> columns = StatsColumns(units);
  std::vector<std::string> objects;
  for (const FlightRecord& flight : flights) {
    std::vector<std::string> members;
    for (const StatsColumn& column : columns) members.push_back(JsonMember(column.key, JsonCell(column.cell(flight))));
    objects.push_back(JsonObject(members));
  }
  out << JsonArray(objects) << '\n';
}
