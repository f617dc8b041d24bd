#include "dialogs/win32/StatsList.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "dialogs/ReportRows.h"
#include "view/win32/GdiTextMeasure.h"

namespace {

constexpr const wchar_t* kColumnTitles[] = {L"What", L"Value", L"Detail"};
constexpr int kValueColumn = 1;

void AddColumn(HWND list, int column) {
  LVCOLUMNW header{};
  header.mask = LVCF_TEXT | LVCF_SUBITEM;
  header.pszText = const_cast<wchar_t*>(kColumnTitles[column]);
  header.iSubItem = column;
  SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
}

void SetCell(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = WideFromUtf8(text);
  LVITEMW item{};
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = wide.data();
  if (column == 0) {
    item.mask = LVIF_TEXT;
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  } else {
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  }
}

void FocusFirstRow(HWND list) {
  LVITEMW state{};
  state.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  state.state = LVIS_FOCUSED | LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
}

int TextWidth(HWND list, const std::string& text) {
  const std::wstring wide = WideFromUtf8(text);
  return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int ColumnWidth(HWND list, int column) { return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)); }

int ClientWidth(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  return client.right;
}

}  // namespace

StatsList::StatsList(HWND list, const std::vector<StatRow>& rows) : list_(list), rows_(rows) {
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
  for (int column = 0; column < kColumnCount; ++column) AddColumn(list_, column);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const int row = static_cast<int>(i);
    SetCell(list_, row, 0, rows_[i].label);
    SetCell(list_, row, 1, rows_[i].value);
    SetCell(list_, row, 2, rows_[i].detail);
  }
  FitColumns();
  if (!rows_.empty()) FocusFirstRow(list_);
}

// The list's own fit to every text, padding included; the last column too as
// wide as its texts (LVSCW_AUTOSIZE_USEHEADER would stretch it to the edge).
void StatsList::FitColumns() {
  for (int column = 0; column < kColumnCount; ++column) {
    const LPARAM fit = column + 1 < kColumnCount ? LVSCW_AUTOSIZE_USEHEADER : LVSCW_AUTOSIZE;
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, fit);
    fitted_[column] = ColumnWidth(list_, column);
  }
  int widest = 0;
  int widestWidening = TextWidth(list_, "Value");
  for (const StatRow& row : rows_) {
    const int width = TextWidth(list_, row.value);
    widest = std::max(widest, width);
    if (WidensValueColumn(row)) widestWidening = std::max(widestWidening, width);
  }
  valueWhole_ = fitted_[kValueColumn];
  fitted_[kValueColumn] -= std::max(0, widest - widestWidening);
  FollowWidth();
}

void StatsList::FollowWidth() {
  int others = 0;
  for (int column = 0; column < kColumnCount; ++column) others += column == kValueColumn ? 0 : fitted_[column];
  const int value = std::clamp(ClientWidth(list_) - others, fitted_[kValueColumn], valueWhole_);
  for (int column = 0; column < kColumnCount; ++column) {
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, column, column == kValueColumn ? value : fitted_[column]);
  }
}

SIZE StatsList::WantedSize() const {
  int columns = 0;
  for (const int width : fitted_) columns += width;
  RECT header{};
  GetWindowRect(reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0)), &header);
  RECT item{LVIR_BOUNDS, 0, 0, 0};
  SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  const int rows = (item.bottom - item.top) * static_cast<int>(rows_.size());
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(list_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(list_, GWL_EXSTYLE)));
  return {columns + (frame.right - frame.left) + GetSystemMetrics(SM_CXVSCROLL),
          (header.bottom - header.top) + rows + (frame.bottom - frame.top)};
}
