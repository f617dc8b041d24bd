#include "dialogs/win32/AboutWindow.h"

#include "data/Version.h"
#include "resources/AboutIds.h"
#include "resources/ResourceIds.h"
#include "view/win32/WindowDpi.h"

namespace {

constexpr wchar_t kInvitation[] =
    L"For updates and news, visit https://zelusb.example.org";

}  // namespace

CAboutWindow::CAboutWindow(AltimeterLink& link) : ToolDialog(IDD_ABOUT, link) {}

void CAboutWindow::OnInitDialog() {
  picture_.Show(GetDlgItem(hwnd, IDC_ABOUT_PICTURE), WindowDpi(hwnd));
  CreateLayout();
  Anchor(IDC_ABOUT_PICTURE, anchoring::kGrows);
  Anchor(IDC_STATUS, anchoring::kGrows);
  Anchor(IDC_CLOSE, anchoring::kFollowsCorner);
  AnchorGroup(IDC_ABOUT_GROUP, anchoring::kGrows);
  BuildAboutText();
}

// Five appends; the first two are followed by an empty line.
void CAboutWindow::BuildAboutText() {
  AppendStatus(std::wstring(kInvitation) + L"\r\n");
  AppendStatus(L"Software is version " + FormatVersion(kSoftwareVersion) + L" and is designed for:\r\n");
  AppendStatus(L"Firmware version " + FormatVersionFamily(kFirmwareFamily));
  AppendStatus(L"Bootloader version " + FormatVersionFamily(kBootloaderFamily));
  AppendStatus(L"Hardware version " + FormatVersionFamily(kHardwareFamily));
}

// Nothing to wait for: it ends at once, without a word to the log.
void CAboutWindow::OnClose() { EndDialog(hwnd, 0); }
