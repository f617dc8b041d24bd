#pragma once
// A tool dialog's jobs apart from its windows: the connection report of its
// mode, the job rule applied to device notices and to a suspend, the start of
// a job and its end, which reaches the dialog whatever the job's work does.
// The Win32 dialogs run it on their thread, the job campaign on its own.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/JobRule.h"

class AltimeterLink;

// What a dialog's jobs are, for the reason the session may not end now.
enum class JobKind { Download, ClearMemory, ReadSettings, WriteSettings, Calibration, FirmwareUpdate, Bench, Emulation };

// In the user's words: why logging off or shutting down must wait.
std::wstring SessionEndReason(JobKind kind);

// What the host needs of its dialog.
class DialogSide {
 public:
  virtual ~DialogSide() = default;
  // Any thread: a status line.
  virtual void Say(const std::wstring& line) = 0;
  // The dialog's thread: the connection icon and the buttons, busy while a job runs.
  virtual void RefreshControls(bool busy) = 0;
  // Runs `work` on the dialog's worker thread; false when no thread could be made.
  virtual bool StartThread(std::function<void()> work) = 0;
  // The worker, last: the dialog's thread is to call JobHost::OnJobEnded.
  virtual void PostJobEnded() = 0;
  // The dialog's thread, as a job starts and once it has ended.
  virtual void OnJobStarted(JobKind) {}
  virtual void OnJobFinished() {}
};

enum class ConnectionMode { Application, Bootloader };

class JobHost {
 public:
  JobHost(AltimeterLink& link, DialogSide& dialog, ConnectionMode mode);

  // Connects in the dialog's mode and says how that went; a device of the
  // other mode is let go. Connecting to another altimeter than the last one
  // this dialog held is said too, before any command can reach it.
  void ReportConnection();
  // A device notice, on the dialog's thread.
  void OnNotice(uint32_t event, const DeviceBroadcast& broadcast);
  // The machine is about to sleep: the job ends as at our device's removal.
  void OnSuspend();

  // Starts `work` as the dialog's job. False, starting nothing, while a job
  // runs or once closing; when no thread can be made the controls come back
  // and the user is told. Whatever `work` does, returns or throws, its end
  // reaches OnJobEnded; a throw is said as a failure.
  bool StartJob(JobKind kind, std::function<void()> work);
  // On the dialog's thread, after the worker posted the job's end.
  void OnJobEnded();
  bool AcceptsCommand(bool startsNothing) const { return rule_.AcceptsCommand(startsNothing); }
  bool JobRunning() const { return rule_.JobRunning(); }
  // False while a job runs: the session must wait for it.
  bool AllowsSessionEnd() const { return !rule_.JobRunning(); }

  // From now on commands and notices change nothing.
  void BeginClosing() { rule_.BeginClosing(); }
  bool Closing() const { return rule_.Closing(); }

 private:
  void RunOnWorker(const std::function<void()>& work);
  void Apply(const JobRule::Steps& steps);
  void ReportOtherMode(bool bootloader, bool incompatibleCounts, const wchar_t* found, const wchar_t* advice);
  void NoteDeviceHeld();

  AltimeterLink& link_;
  DialogSide& dialog_;
  const ConnectionMode mode_;
  JobRule rule_;
  std::atomic<bool> jobThrew_{false};  // set by the worker before it posts the end
  std::wstring lastDevicePath_;  // of the altimeter this dialog last connected to
};
