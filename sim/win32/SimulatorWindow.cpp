#include "sim/win32/SimulatorWindow.h"

#include <dbt.h>
#include <setupapi.h>

extern "C" {
#include <hidsdi.h>
}

#include <algorithm>
#include <array>
#include <cwchar>
#include <string>
#include <vector>

#include "data/Version.h"
#include "sim/FlashText.h"
#include "sim/SettingsText.h"
#include "sim/SimUsbPort.h"

namespace {

constexpr wchar_t kClassName[] = L"ZelSimulator";
constexpr wchar_t kTitle[] = L"Simulated altimeter";
constexpr wchar_t kDialogClassName[] = L"DialogClass";  // every tool dialog of the program
constexpr UINT WM_REMOVED_BY_FAULT = WM_APP + 10;      // from the thread whose transfer pulled it out
// The device's settings and firings are shown anew now and then; and the
// graph is blitted straight to the screen, where under Wine that blit can
// cover this window without telling it, so it repaints itself as well.
constexpr UINT_PTR kRepaintTimer = 1;
constexpr UINT kRepaintEveryMs = 500;
// Each other device plugged in gets a timer of its own, from this id on, that pulls it out.
constexpr UINT_PTR kFirstPullOutTimer = 100;
constexpr UINT kOtherDeviceStaysMs = 300;
constexpr DWORD kStickDriveMask = 1u << ('E' - 'A');

// Control ids; tests drive the window by them.
enum ControlId : int {
  kPlugIn = 1101,
  kPlugInBootloader = 1102,
  kPullOut = 1103,
  kState = 1104,
  kFirmwareVersion = 1105,
  kBootloaderVersion = 1106,
  kHardwareVersion = 1107,
  kMemory = 1110,
  kPaced = 1111,
  kFault = 1120,
  kGroundAltitude = 1130,
  kSensorError = 1131,
  kBattery = 1132,
  kApply = 1133,
  kStoredOffset = 1134,
  kStoreOffset = 1135,
  kStoredSettings = 1140,
  kFirings = 1141,
  kFlash = 1142,
  kComparedImage = 1143,
  kCompare = 1144,
  kPlugInOther = 1145,
  kInsertStick = 1146,
  kStoreDamaged = 1147,
};

constexpr int kClientWidth = 300;
constexpr int kClientHeight = 590;
constexpr int kMargin = 10;
constexpr int kRow = 26;

const wchar_t* const kMemoryChoices[] = {L"Empty", L"One flight", L"Three flights", L"Full"};
const MemoryPreset kMemoryPresets[] = {MemoryPreset::Empty, MemoryPreset::OneFlight, MemoryPreset::SeveralFlights,
                                       MemoryPreset::Full};
const wchar_t* const kFaultChoices[] = {L"No fault", L"Silence", L"Removal mid-transfer", L"Wrong code",
                                        L"Pressure read fails"};
const SimFault kFaults[] = {SimFault::None, SimFault::Silence, SimFault::RemovalMidTransfer, SimFault::WrongCode,
                            SimFault::PressureReadFails};

struct Simulator {
  SimUsbPort* port;
  HWND window;
  std::wstring pluggedPath;
  std::filesystem::path comparedImage;  // empty: none chosen
  UINT_PTR nextPullOutTimer = kFirstPullOutTimer;
};

Simulator* SimulatorOf(HWND window) { return reinterpret_cast<Simulator*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

HWND AddControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, int x, int y,
                int width, int height) {
  const HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                       nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

HWND AddChoices(HWND parent, int id, int x, int y, int width, const wchar_t* const* choices, int count, int chosen) {
  const HWND combo = AddControl(parent, L"ComboBox", L"", CBS_DROPDOWNLIST | WS_TABSTOP, id, x, y, width, 120);
  for (int i = 0; i < count; ++i) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choices[i]));
  SendMessageW(combo, CB_SETCURSEL, chosen, 0);
  return combo;
}

void AddField(HWND window, const wchar_t* label, const wchar_t* value, int id, int y) {
  AddControl(window, L"Static", label, SS_LEFT, -1, kMargin, y + 3, 150, 18);
  AddControl(window, L"Edit", value, WS_BORDER | WS_TABSTOP, id, 170, y, 60, 22);
}

void AddControls(HWND window) {
  const int wide = kClientWidth - 2 * kMargin;
  int y = kMargin;
  AddControl(window, L"Static", L"Not plugged in", SS_LEFT, kState, kMargin, y, wide, 18);
  y += kRow;
  AddControl(window, L"Button", L"Plug in", BS_PUSHBUTTON | WS_TABSTOP, kPlugIn, kMargin, y, 90, 24);
  AddControl(window, L"Button", L"Plug in bootloader", BS_PUSHBUTTON | WS_TABSTOP, kPlugInBootloader, 105, y, 115, 24);
  AddControl(window, L"Button", L"Pull out", BS_PUSHBUTTON | WS_TABSTOP, kPullOut, 225, y, 65, 24);
  y += kRow + 2;
  AddControl(window, L"Button", L"Plug in another device", BS_PUSHBUTTON | WS_TABSTOP, kPlugInOther, kMargin, y, 140,
             24);
  AddControl(window, L"Button", L"Insert a USB stick", BS_PUSHBUTTON | WS_TABSTOP, kInsertStick, 155, y, 135, 24);
  y += kRow + 8;
  AddControl(window, L"Static", L"Firmware version (hex):", SS_LEFT, -1, kMargin, y + 3, 150, 18);
  AddControl(window, L"Edit", L"0141", WS_BORDER | ES_UPPERCASE | WS_TABSTOP, kFirmwareVersion, 170, y, 60, 22);
  y += kRow;
  AddControl(window, L"Static", L"Bootloader version (hex):", SS_LEFT, -1, kMargin, y + 3, 150, 18);
  AddControl(window, L"Edit", L"0103", WS_BORDER | ES_UPPERCASE | WS_TABSTOP, kBootloaderVersion, 170, y, 60, 22);
  y += kRow;
  AddControl(window, L"Static", L"Hardware version (hex):", SS_LEFT, -1, kMargin, y + 3, 150, 18);
  AddControl(window, L"Edit", L"0121", WS_BORDER | ES_UPPERCASE | WS_TABSTOP, kHardwareVersion, 170, y, 60, 22);
  y += kRow + 8;
  AddControl(window, L"Static", L"Memory:", SS_LEFT, -1, kMargin, y + 3, 70, 18);
  AddChoices(window, kMemory, 90, y, 200, kMemoryChoices, 4, 2);
  y += kRow + 4;
  AddControl(window, L"Button", L"Pace replies like the device (1 report/ms)", BS_AUTOCHECKBOX | WS_TABSTOP, kPaced,
             kMargin, y, wide, 20);
  y += kRow + 8;
  AddControl(window, L"Static", L"Next operation:", SS_LEFT, -1, kMargin, y + 3, 80, 18);
  AddChoices(window, kFault, 90, y, 200, kFaultChoices, 5, 0);
  y += kRow + 8;
  AddField(window, L"Ground altitude (m MSL):", L"150", kGroundAltitude, y);
  AddControl(window, L"Button", L"Apply", BS_PUSHBUTTON | WS_TABSTOP, kApply, 240, y, 50, 74);
  y += kRow;
  AddField(window, L"Sensor error (counts):", L"0", kSensorError, y);
  y += kRow;
  AddField(window, L"Battery (V):", L"9.0", kBattery, y);
  y += kRow + 4;
  AddField(window, L"Stored offset (counts):", L"0", kStoredOffset, y);
  AddControl(window, L"Button", L"Store", BS_PUSHBUTTON | WS_TABSTOP, kStoreOffset, 240, y, 50, 22);
  y += kRow;
  AddControl(window, L"Button", L"Store a damaged record", BS_PUSHBUTTON | WS_TABSTOP, kStoreDamaged, kMargin, y, 140,
             22);
  y += kRow + 4;
  AddControl(window, L"Static", L"", SS_LEFT, kStoredSettings, kMargin, y, wide, 44);
  y += 48;
  AddControl(window, L"Static", L"", SS_LEFT, kFirings, kMargin, y, wide, 18);
  y += kRow + 4;
  AddControl(window, L"Static", L"Plain image to compare the flash with:", SS_LEFT, -1, kMargin, y, wide, 18);
  y += 20;
  AddControl(window, L"Edit", L"", WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP, kComparedImage, kMargin, y, 220, 22);
  AddControl(window, L"Button", L"Compare", BS_PUSHBUTTON | WS_TABSTOP, kCompare, 235, y, 55, 22);
  y += kRow + 2;
  AddControl(window, L"Static", L"", SS_LEFT, kFlash, kMargin, y, wide, 34);
}

// A device notice, to the open tool dialogs (they share this thread).
void SendToToolDialogs(WPARAM event, const void* notice) {
  struct Delivery {
    WPARAM event;
    LPARAM notice;
  } delivery{event, reinterpret_cast<LPARAM>(notice)};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM address) -> BOOL {
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        if (std::wcscmp(className, kDialogClassName) != 0) return TRUE;
        const auto& d = *reinterpret_cast<const Delivery*>(address);
        SendMessageW(window, WM_DEVICECHANGE, d.event, d.notice);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&delivery));
}

// The notice the system sends the windows registered for HID interfaces.
void BroadcastDeviceChange(WPARAM event, const std::wstring& path) {
  std::vector<BYTE> bytes(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) + path.size() * sizeof(wchar_t));
  auto* notice = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(bytes.data());
  notice->dbcc_size = static_cast<DWORD>(bytes.size());
  notice->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  HidD_GetHidGuid(&notice->dbcc_classguid);
  std::wcscpy(notice->dbcc_name, path.c_str());
  SendToToolDialogs(event, notice);
}

// What the system broadcasts to every top-level window when a USB stick
// arrives, whether or not the window registered for anything.
void BroadcastStickArrival() {
  DEV_BROADCAST_VOLUME notice{};
  notice.dbcv_size = sizeof notice;
  notice.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  notice.dbcv_unitmask = kStickDriveMask;
  SendToToolDialogs(DBT_DEVICEARRIVAL, &notice);
}

uint16_t HexField(HWND window, int id, uint16_t fallback) {
  wchar_t text[16] = {};
  GetDlgItemTextW(window, id, text, 16);
  wchar_t* end = nullptr;
  const unsigned long value = std::wcstoul(text, &end, 16);
  return end != text && *end == L'\0' && value <= 0xFFFF ? static_cast<uint16_t>(value) : fallback;
}

// The number in an edit; `fallback` when it holds none.
double NumberField(HWND window, int id, double fallback) {
  wchar_t text[32] = {};
  GetDlgItemTextW(window, id, text, 32);
  wchar_t* end = nullptr;
  const double value = std::wcstod(text, &end);
  return end != text && *end == L'\0' ? value : fallback;
}

void ApplySurroundings(Simulator& simulator) {
  SimAltimeter& altimeter = simulator.port->Altimeter();
  altimeter.SetGroundAltitude(NumberField(simulator.window, kGroundAltitude, 150.0));
  altimeter.SetSensorErrorCounts(static_cast<int32_t>(NumberField(simulator.window, kSensorError, 0.0)));
  altimeter.SetBatteryVoltage(NumberField(simulator.window, kBattery, 9.0));
}

// As a calibration would store it: the other fields stay.
void StoreOffset(Simulator& simulator) {
  SimAltimeter& altimeter = simulator.port->Altimeter();
  DeviceSettings fields = DeviceSettings::Unpacked(altimeter.SettingsImage());
  const double offset = NumberField(simulator.window, kStoredOffset, fields.adcOffset);
  fields.adcOffset = static_cast<int32_t>(std::max(-128.0, std::min(127.0, offset)));
  altimeter.SetSettingsImage(fields.Packed());
}

// The defaults with both checksum bytes flipped: a record the device's memory lost.
void StoreDamagedRecord(Simulator& simulator) {
  std::array<uint8_t, DeviceSettings::kImageSize> image = DeviceSettings().Packed();
  image[DeviceSettings::kImageSize - 2] ^= 0xFF;
  image[DeviceSettings::kImageSize - 1] ^= 0xFF;
  simulator.port->Altimeter().SetSettingsImage(image);
}

void SetTextIfChanged(HWND window, int id, const std::wstring& text) {
  wchar_t shown[1024] = {};
  GetDlgItemTextW(window, id, shown, 1024);
  if (text != shown) SetDlgItemTextW(window, id, text.c_str());
}

// What the device holds now: its settings as written, how often each line fired.
void ShowDevice(const Simulator& simulator) {
  SimAltimeter& altimeter = simulator.port->Altimeter();
  SetTextIfChanged(simulator.window, kStoredSettings, DescribeSettingsImage(altimeter.SettingsImage()));
  SetTextIfChanged(simulator.window, kFirings, DescribeFirings(altimeter.LineAFirings(), altimeter.LineBFirings()));
  const SimBootloader& bootloader = simulator.port->Bootloader();
  SetTextIfChanged(simulator.window, kFlash,
                   DescribeFlash(static_cast<int>(bootloader.WrittenAddresses().size()), bootloader.Flash(),
                                 simulator.comparedImage));
}

std::wstring TextField(HWND window, int id) {
  wchar_t text[MAX_PATH] = {};
  GetDlgItemTextW(window, id, text, MAX_PATH);
  return text;
}

void ShowState(const Simulator& simulator) {
  std::wstring state = L"Not plugged in";
  if (simulator.port->IsPluggedIn()) {
    const bool application = simulator.port->Mode() == SimPortMode::Application;
    const uint16_t version = HexField(simulator.window, application ? kFirmwareVersion : kBootloaderVersion, 0);
    state = application ? L"Plugged in: application mode, firmware " + FormatVersion(version)
                        : L"Plugged in: bootloader mode, bootloader " + FormatVersion(version);
  }
  SetDlgItemTextW(simulator.window, kState, state.c_str());
}

void PullOut(Simulator& simulator) {
  const std::wstring path = simulator.port->PullOut();
  if (!path.empty()) BroadcastDeviceChange(DBT_DEVICEREMOVECOMPLETE, path);
}

void PlugIn(Simulator& simulator, SimPortMode mode) {
  PullOut(simulator);
  const bool application = mode == SimPortMode::Application;
  const uint16_t version = application ? HexField(simulator.window, kFirmwareVersion, kSimFirmwareVersion)
                                       : HexField(simulator.window, kBootloaderVersion, kSimBootloaderVersion);
  simulator.port->Bootloader().SetHardwareVersion(HexField(simulator.window, kHardwareVersion, kSimHardwareVersion));
  simulator.pluggedPath = simulator.port->PlugIn(mode, version);
  SendDlgItemMessageW(simulator.window, kFault, CB_SETCURSEL, 0, 0);
  BroadcastDeviceChange(DBT_DEVICEARRIVAL, simulator.pluggedPath);
}

// Unrelated to the altimeter, which stays plugged in; it leaves again a moment later.
void PlugInOtherDevice(Simulator& simulator) {
  BroadcastDeviceChange(DBT_DEVICEARRIVAL, simulator.port->PlugInOtherDevice());
  SetTimer(simulator.window, simulator.nextPullOutTimer++, kOtherDeviceStaysMs, nullptr);
}

// Timers run out in the order they were set, all being as long.
void PullOutOtherDevice(Simulator& simulator, UINT_PTR timer) {
  KillTimer(simulator.window, timer);
  const std::wstring path = simulator.port->PullOutOtherDevice();
  if (!path.empty()) BroadcastDeviceChange(DBT_DEVICEREMOVECOMPLETE, path);
}

int Chosen(HWND window, int id) { return static_cast<int>(SendDlgItemMessageW(window, id, CB_GETCURSEL, 0, 0)); }

void OnCommand(Simulator& simulator, int id, int notification) {
  const HWND window = simulator.window;
  if (id == kPlugIn) PlugIn(simulator, SimPortMode::Application);
  if (id == kPlugInBootloader) PlugIn(simulator, SimPortMode::Bootloader);
  if (id == kPullOut) PullOut(simulator);
  if (id == kPlugInOther) PlugInOtherDevice(simulator);
  if (id == kInsertStick) BroadcastStickArrival();
  if (id == kPaced) simulator.port->SetPaced(IsDlgButtonChecked(window, kPaced) == BST_CHECKED);
  if (id == kMemory && notification == CBN_SELCHANGE && Chosen(window, kMemory) >= 0) {
    simulator.port->LoadMemory(kMemoryPresets[Chosen(window, kMemory)]);
  }
  if (id == kFault && notification == CBN_SELCHANGE && Chosen(window, kFault) >= 0) {
    simulator.port->ArmFault(kFaults[Chosen(window, kFault)]);
  }
  if (id == kApply) ApplySurroundings(simulator);
  if (id == kStoreOffset) StoreOffset(simulator);
  if (id == kStoreDamaged) StoreDamagedRecord(simulator);
  if (id == kCompare) simulator.comparedImage = TextField(window, kComparedImage);
  ShowState(simulator);
  ShowDevice(simulator);
}

void OnRemovedByFault(Simulator& simulator) {
  BroadcastDeviceChange(DBT_DEVICEREMOVECOMPLETE, simulator.pluggedPath);
  SendDlgItemMessageW(simulator.window, kFault, CB_SETCURSEL, 0, 0);
  ShowState(simulator);
}

LRESULT CALLBACK SimulatorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Simulator* simulator = SimulatorOf(window);
  switch (message) {
    case WM_COMMAND:
      if (simulator) OnCommand(*simulator, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_REMOVED_BY_FAULT:
      if (simulator) OnRemovedByFault(*simulator);
      return 0;
    case WM_TIMER:
      if (simulator && wParam >= kFirstPullOutTimer) {
        PullOutOtherDevice(*simulator, wParam);
        return 0;
      }
      if (simulator) ShowDevice(*simulator);
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_NCDESTROY:
      delete simulator;
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool RegisterSimulatorClass(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = SimulatorProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kClassName;
  return RegisterClassW(&windowClass) != 0;
}

}  // namespace

HWND CreateSimulatorWindow(HINSTANCE instance, HWND mainWindow, SimUsbPort& port) {
  if (!RegisterSimulatorClass(instance)) return nullptr;
  // A popup stays above its owner; without a system menu it has no close button.
  const DWORD style = WS_POPUP | WS_CAPTION;
  const DWORD extendedStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = GetSystemMetrics(SM_CXSCREEN) - width - kMargin;
  const HWND window = CreateWindowExW(extendedStyle, kClassName, kTitle, style, x, 60, width, height, mainWindow,
                                      nullptr, instance, nullptr);
  if (!window) return nullptr;
  // The window owns it; freed at WM_NCDESTROY.
  auto* simulator = new Simulator{&port, window, {}, {}, kFirstPullOutTimer};
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(simulator));
  AddControls(window);
  CheckDlgButton(window, kPaced, port.IsPaced() ? BST_CHECKED : BST_UNCHECKED);
  port.OnRemovedByFault([window] { PostMessageW(window, WM_REMOVED_BY_FAULT, 0, 0); });
  // It starts as the window shows it: three flights, plugged in.
  port.LoadMemory(kMemoryPresets[Chosen(window, kMemory)]);
  PlugIn(*simulator, SimPortMode::Application);
  ShowState(*simulator);
  ShowDevice(*simulator);
  SetTimer(window, kRepaintTimer, kRepaintEveryMs, nullptr);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  return window;
}
