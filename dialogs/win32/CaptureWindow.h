#pragma once
// Download Data: reads the altimeter's flight memory on a worker while the
// main window draws it live, shows the memory as a strip of sets, and saves,
// comments and clears them. The set chosen here is shown when it closes.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "dialogs/MemoryMapKeys.h"
#include "dialogs/win32/MemoryMapStrip.h"
#include "dialogs/win32/ToolDialog.h"
#include "resources/ResourceIds.h"

class CCaptureWindow : public ToolDialog {
 public:
  explicit CCaptureWindow(AltimeterLink& link);
  // Ends the worker, then closes the device handles: the link stays closed
  // after the dialog.
  ~CCaptureWindow() override;

  // The set picked in the strip; -1 for none.
  int32_t GetSelectedSet() const { return selectedSet; }

 protected:
  void OnInitDialog() override;
  void OnCommand(int id) override;
  void OnClose() override;
  void UpdateControls(bool busy) override;

 private:
  void AnchorControls();
  void OnReadData();
  void OnClearDevice();
  void OnSaveComment();
  void OnSaveSelected();
  void OnSaveAll();

  // What the jobs show here.
  void OfferRead() override { Enable(IDC_READ_DATA, true); }
  void PacketsChanged() override { RedrawMemoryMap(); }
  void LiveSamplesRead() override;

  // The strip.
  void RedrawMemoryMap();  // from the packets, and has the strip repaint; any thread
  void OnStripClick(int x);
  void OnStripKey(MapKey key);
  void ShowSelection();  // what choosing a set shows, by click or key
  void ShowSelectedComment();
  static LRESULT CALLBACK MemoryMapProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR dialog);

  // Saves set n to a file the user names, with its CSV when asked; false when
  // the user cancelled or a file failed (the user has been told).
  bool SaveSetAs(int32_t n);
  bool Checked(int id) const;
  void SetTranslucent(bool translucent);

  MemoryMapStrip memoryMap;
  std::atomic<int32_t> selectedSet;
  bool interruptedWorker = false;  // a worker ran when the close began
  std::atomic<bool> liveUpdate{false};  // as checked when the download started
};
