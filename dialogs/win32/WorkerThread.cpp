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

bool WorkerThread::WaitServingCalls(DWORD ms) const {
  if (!thread_.IsValid()) return true;
  const HANDLE thread = thread_.Get();
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    const ULONGLONG waited = GetTickCount64() - start;
    if (ms != INFINITE && waited >= ms) return WaitFor(0);
    const DWORD left = ms == INFINITE ? INFINITE : static_cast<DWORD>(ms - waited);
    if (MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE) != WAIT_OBJECT_0 + 1) return WaitFor(0);
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
