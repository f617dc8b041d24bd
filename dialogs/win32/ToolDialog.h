#pragma once
// What the device dialogs share: the status box fed from any thread, the one
// worker thread with its close handshake, device arrival and removal, the
// connection report, and the routing of their messages.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "dialogs/JobHost.h"
#include "dialogs/JobView.h"
#include "dialogs/StatusText.h"
#include "dialogs/win32/BaseWindow.h"
#include "dialogs/win32/DialogLayout.h"
#include "dialogs/win32/FocusKeeper.h"
#include "dialogs/win32/StatusBox.h"
#include "dialogs/win32/WorkerThread.h"

class AltimeterLink;

// Posted to a dialog whose status text changed; both parameters 0.
constexpr UINT WM_STATUSUPDATE = WM_USER + 1;

// Control ids every tool dialog's template shares.
constexpr int kStatusBoxId = 1003;
constexpr int kCloseButtonId = 1004;

// How the dialogs' controls follow a resized dialog.
namespace anchoring {
constexpr AnchorEdges kStays{true, true, false, false};
constexpr AnchorEdges kGrows{true, true, true, true};
constexpr AnchorEdges kWidens{true, true, false, true};
constexpr AnchorEdges kFollowsCorner{false, false, true, true};
constexpr AnchorEdges kFollowsRight{true, false, false, true};
constexpr AnchorEdges kFollowsBottom{false, true, true, false};
}  // namespace anchoring

// Each dialog is the side its jobs' host works on, and the view its jobs
// show themselves in (status lines, controls, the graph).
class ToolDialog : public CBaseWindow, protected DialogSide, protected JobView {
 public:
  ToolDialog(int dialogId, AltimeterLink& link, ConnectionMode mode = ConnectionMode::Application);
  ~ToolDialog() override;  // logs "DESTRUCT"

  // Any thread: adds `line` and CR LF to the status box; the box is refreshed
  // once for the lines added before the main thread gets to it.
  void AppendStatus(const std::wstring& line);
  void Say(const std::wstring& line) override { AppendStatus(line); }

  INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) final;

 protected:
  // The dialog's own parts, called on the main thread. Close (1004) and
  // Escape never reach OnCommand: they close the dialog. Nor does any command
  // once closing, or while a job runs unless StartsNothing says it may.
  virtual void OnInitDialog() = 0;
  virtual void OnCommand(int id) = 0;
  virtual bool StartsNothing(int /*id*/) const { return false; }
  virtual void OnClose() = 0;
  // Messages beyond the shared ones; return true when handled, with `result`.
  virtual bool OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
  // Connection icon and buttons from the link state; any thread.
  virtual void UpdateControls(bool busy) = 0;
  // UpdateControls on the dialog's thread, in turn with the device notices: a
  // worker that saw the link open could otherwise enable the buttons just
  // after a removal notice had closed it and disabled them. Any thread.
  void UpdateControlsInTurn(bool busy);

  // The minimum size is the dialog's size now; anchors are added to it.
  void CreateLayout();
  void Anchor(int id, AnchorEdges edges);
  void AnchorGroup(int groupBoxId, AnchorEdges edges);  // replaces the box by a label first

  // Runs `work` as the dialog's job on the worker; see JobHost::StartJob.
  bool StartJob(JobKind kind, std::function<void()> work) { return host_.StartJob(kind, std::move(work)); }
  bool JobRunning() const { return host_.JobRunning(); }
  bool Closing() const { return host_.Closing(); }
  // The close handshake: from now on commands and notices change nothing.
  // Waits 100 ms for the worker; when it has not ended, logs `repostLine`,
  // posts WM_CLOSE again and returns false; otherwise logs "Thread has
  // exited." and returns true (the caller ends the dialog).
  bool WorkerHasEnded(const char* repostLine);
  // First in the destructor of a dialog whose workers use its own members: a
  // dialog can end without the handshake (a WM_QUIT ends its modal loop).
  void CancelAndAwaitWorker();

  // Device notices reach the dialog from now on.
  void RegisterForDeviceNotifications();
  // Connects in the dialog's mode and says how that went.
  void ReportConnection() { host_.ReportConnection(); }

  // Sets the connection icon (control `iconId`) from the link state; any thread.
  void ShowConnectionIcon(int iconId);
  void Enable(int id, bool enabled);

  // What the jobs show, common to every dialog.
  void ShowBusy() override { UpdateControlsInTurn(true); }
  void ShowIdle() override { UpdateControlsInTurn(false); }
  void GraphChanged() override;

  AltimeterLink& link;
  std::unique_ptr<DialogLayout> layout;
  SolidBrush statusBrush;
  WorkerThread workerThread;
  StatusText statusText;

 private:
  // The host's side of the dialog.
  void RefreshControls(bool busy) override { UpdateControls(busy); }
  bool StartThread(std::function<void()> work) override;
  void PostJobEnded() override;
  void OnJobStarted(JobKind kind) override;
  void OnJobFinished() override;

  void RefreshStatusBox();
  void OnDeviceChange(WPARAM event, LPARAM data);
  void OnJobEnded();
  // The session ends whether we like it or not: the job is cancelled at its
  // next safe point and awaited for as long as the system gives.
  void EndJobForSession();

  LoadedIcon connectedIcon_;
  LoadedIcon disconnectedIcon_;
  std::optional<StatusBox> statusBox_;  // from WM_INITDIALOG on
  std::atomic<bool> statusRefreshPending_{false};
  JobHost host_;  // the dialog's thread only
  FocusKeeper focus_{kStatusBoxId};  // no disabled control keeps the focus
  bool watchesDevices_ = false;
};
