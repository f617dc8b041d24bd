#pragma once
// The printers: the system's print dialog, the printers there are, and a
// device context of one named.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// A printer's device context, deleted with the object.
class PrinterDc {
 public:
  explicit PrinterDc(HDC dc = nullptr) : dc_(dc) {}
  ~PrinterDc() {
    if (dc_) DeleteDC(dc_);
  }
  PrinterDc(PrinterDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  PrinterDc& operator=(PrinterDc&& other) noexcept {
    std::swap(dc_, other.dc_);
    return *this;
  }
  PrinterDc(const PrinterDc&) = delete;
  PrinterDc& operator=(const PrinterDc&) = delete;

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

enum class PrintChoice { Chosen, Cancelled, NoPrinter, Failed };

// The system's print dialog over `owner`, not shown when there is no printer.
//   Chosen     `printer` holds the printer chosen, with the settings made there
//   Cancelled  the user cancelled
//   NoPrinter  no printer is installed
//   Failed     the dialog could not be shown, or the printer not opened
PrintChoice AskPrinter(HWND owner, PrinterDc& printer);

// The names of the printers of this computer and those connected from others.
std::vector<std::wstring> PrinterNames();

// A device context of printer `name` with its own settings; empty when it
// cannot be made.
PrinterDc PrinterDcOf(const std::wstring& name);
