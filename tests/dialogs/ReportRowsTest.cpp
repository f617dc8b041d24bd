// What Flight Report lists and copies: zeltool stats' rows with the comment
// first, and text that keeps three columns per row in a spreadsheet.
#include "dialogs/ReportRows.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportRows, TheCommentComesFirstWhenThereIsOne) {
  FlightStats stats;
  const std::vector<StatRow> plain = FlightStatRows(stats, UnitSystem::Metric);
  EXPECT_EQ(plain.size(), ReportRows("", stats, UnitSystem::Metric).size());
  const std::vector<StatRow> rows = ReportRows("Club launch", stats, UnitSystem::Metric);
  ASSERT_EQ(plain.size() + 1, rows.size());
  EXPECT_EQ("comment", rows[0].label);
  EXPECT_EQ("Club launch", rows[0].value);
  EXPECT_EQ(plain[0].label, rows[1].label);
}

TEST(ReportRows, EachRowIsOneLineOfThreeTabSeparatedCells) {
  const std::vector<StatRow> rows{{"apogee", "297.4 m", "+/-1.7 m"},
                                  {"comment", "two\r\nlines\tand a tab", ""},
                                  {"note", "no change", ""}};
  EXPECT_EQ("apogee\t297.4 m\t+/-1.7 m\r\n"
            "comment\ttwo lines and a tab\t\r\n"
            "note\tno change\t\r\n",
            TabSeparatedRows(rows));
}

TEST(ReportRows, OneLineTextMakesEachRunOfControlsOneBlank) {
  const struct {
    const char* text;
    const char* line;
  } cases[] = {
      {"field A", "field A"},
      {"first\r\nsecond", "first second"},
      {"\tindented\n\n", " indented "},
      {"bell\x07\x7f", "bell "},
      {"caf\xc3\xa9", "caf\xc3\xa9"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.line, OneLineText(c.text)) << c.text;
}

}  // namespace
