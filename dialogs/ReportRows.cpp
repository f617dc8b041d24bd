#include "dialogs/ReportRows.h"

namespace {

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

}  // namespace

std::vector<StatRow> ReportRows(const std::string& comment, const FlightStats& stats, UnitSystem units) {
  std::vector<StatRow> rows;
  if (!comment.empty()) rows.push_back({"comment", comment, ""});
  for (StatRow& row : FlightStatRows(stats, units)) rows.push_back(std::move(row));
  return rows;
}

bool WidensValueColumn(const StatRow& row) { return !row.detail.empty(); }

std::string TabSeparatedRows(const std::vector<StatRow>& rows) {
  std::string text;
  for (const StatRow& row : rows) {
    text += OneLineText(row.label) + '\t' + OneLineText(row.value) + '\t' + OneLineText(row.detail) + "\r\n";
  }
  return text;
}

std::string OneLineText(const std::string& text) {
  std::string line;
  bool inControls = false;
  for (const char c : text) {
    if (!IsControl(c)) {
      line += c;
    } else if (!inControls) {
      line += ' ';
    }
    inControls = IsControl(c);
  }
  return line;
}
