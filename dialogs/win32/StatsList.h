#pragma once
// Statistics rows in a report-style ListView: the columns what, value and
// detail, one item per row. The value column is as wide as the widest value
// of a row with a detail (dialogs/ReportRows.h), and widens for the others
// (notes, the comment) as far as the list has room to spare; past that their
// ends are cut.
#include <windows.h>

#include <array>
#include <vector>

#include "data/FlightStatRows.h"

class StatsList {
 public:
  // Fills the empty ListView `list` with `rows`, which we keep a reference
  // to; the first row holds the focus, so the focus shows when the list gets it.
  StatsList(HWND list, const std::vector<StatRow>& rows);

  // Measures the columns' texts again (after the font changed).
  void FitColumns();
  // Shares the list's width out again (after it was resized).
  void FollowWidth();
  // The size that shows every row and every column, the value column as
  // narrow as it gets: the columns or rows, the frame, the header and a
  // scroll bar.
  SIZE WantedSize() const;

 private:
  static constexpr int kColumnCount = 3;

  HWND list_;  // the dialog owns it
  const std::vector<StatRow>& rows_;
  std::array<int, kColumnCount> fitted_{};  // the value column's as narrow as it gets
  int valueWhole_ = 0;                      // the value column's with every value whole
};
