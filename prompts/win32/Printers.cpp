#include "prompts/win32/Printers.h"

#include <commdlg.h>
#include <winspool.h>

namespace {

constexpr DWORD kPrinterKinds = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;

// The settings blocks the print dialog hands back, freed with the object.
struct PrintDialogRecord {
  PRINTDLGW record{};
  PrintDialogRecord() { record.lStructSize = sizeof record; }
  ~PrintDialogRecord() {
    if (record.hDevMode) GlobalFree(record.hDevMode);
    if (record.hDevNames) GlobalFree(record.hDevNames);
  }
  PrintDialogRecord(const PrintDialogRecord&) = delete;
  PrintDialogRecord& operator=(const PrintDialogRecord&) = delete;
};

}  // namespace

PrintChoice AskPrinter(HWND owner, PrinterDc& printer) {
  if (PrinterNames().empty()) return PrintChoice::NoPrinter;
  PrintDialogRecord dialog;
  dialog.record.hwndOwner = owner;
  dialog.record.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
  if (!PrintDlgW(&dialog.record)) return CommDlgExtendedError() == 0 ? PrintChoice::Cancelled : PrintChoice::Failed;
  printer = PrinterDc(dialog.record.hDC);
  return printer ? PrintChoice::Chosen : PrintChoice::Failed;
}

std::vector<std::wstring> PrinterNames() {
  DWORD bytes = 0;
  DWORD count = 0;
  EnumPrintersW(kPrinterKinds, nullptr, 4, nullptr, 0, &bytes, &count);
  if (bytes == 0) return {};
  std::vector<BYTE> buffer(bytes);
  if (!EnumPrintersW(kPrinterKinds, nullptr, 4, buffer.data(), bytes, &bytes, &count)) return {};
  const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
  std::vector<std::wstring> names;
  for (DWORD i = 0; i < count; ++i) names.emplace_back(printers[i].pPrinterName);
  return names;
}

PrinterDc PrinterDcOf(const std::wstring& name) {
  return PrinterDc(CreateDCW(L"WINSPOOL", name.c_str(), nullptr, nullptr));
}
