#include "dialogs/win32/WorkerThread.h"

#include <memory>

WorkerThread::~WorkerThread() { WaitFor(INFINITE); }

bool WorkerThread::Start(std::function<void()> work) {
  if (IsRunning()) return false;
  auto owned = std::make_unique<std::function<void()>>(std::move(work));
  const HANDLE thread = CreateThread(nullptr, 0, Run, owned.get(), 0, nullptr);
  if (thread == nullptr) return false;
  owned.release();  // the thread has it now
  thread_.Reset(thread);
  return true;
}

bool WorkerThread::IsRunning() const { return !WaitFor(0); }

bool WorkerThread::WaitFor(DWORD ms) const {
  return !thread_.IsValid() || WaitForSingleObject(thread_.Get(), ms) != WAIT_TIMEOUT;
}

void WorkerThread::WaitServingCalls() const {
  if (!thread_.IsValid()) return;
  const HANDLE thread = thread_.Get();
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

DWORD WINAPI WorkerThread::Run(void* work) {
  const std::unique_ptr<std::function<void()>> owned(static_cast<std::function<void()>*>(work));
  try {
    (*owned)();
  } catch (...) {
    // A worker that throws ends like one that returns; the dialog stays usable.
  }
  return 0;
}
