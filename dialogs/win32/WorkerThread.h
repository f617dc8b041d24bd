#pragma once
// The one worker thread a tool dialog runs its device operations on.
#include <windows.h>

#include <functional>

#include "device/win32/Win32Handle.h"

class WorkerThread {
 public:
  WorkerThread() = default;
  // Waits for a worker still running: its work may use the dialog.
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts `work` on a new thread; false, starting nothing, while the last
  // worker is still running or when no thread can be made.
  bool Start(std::function<void()> work);
  bool IsRunning() const;
  // True when no worker runs or it ended within `ms`.
  bool WaitFor(DWORD ms) const;
  // Waits until no worker runs, for `ms` at most, serving meanwhile the calls
  // it makes into this thread's windows: a plain wait would deadlock on the
  // first. True when no worker runs.
  bool WaitServingCalls(DWORD ms) const;

 private:
  static DWORD WINAPI Run(void* work);

  UniqueHandle thread_;
};
