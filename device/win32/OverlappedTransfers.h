#pragma once
// Overlapped transfers, one at a time, each with a time-out, on handles that
// another thread may abort at any moment: the transfer pending then ends at
// once, and so does every later one.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <mutex>

#include "device/win32/Win32Handle.h"

class OverlappedTransfers {
 public:
  // Issues the ReadFile or WriteFile of one transfer with the record given,
  // and returns what it returned.
  using StartFn = std::function<BOOL(OVERLAPPED* overlapped)>;

  // `event`: manual reset, shared by every transfer.
  explicit OverlappedTransfers(UniqueHandle event);

  // True when all `length` bytes moved on `handle` within `timeoutMs`. False on
  // an immediate failure, a short transfer, a time-out or after Abort; a
  // transfer that did not finish is cancelled and has completed before this
  // returns, so its buffer may be reused or freed at once.
  bool Run(HANDLE handle, size_t length, unsigned timeoutMs, const StartFn& start);

  // From any thread: ends the transfer pending on `handles`, and every later one.
  void Abort(std::initializer_list<HANDLE> handles);

 private:
  void CancelAndWait(HANDLE handle);

  UniqueHandle event_;
  OVERLAPPED overlapped_{};
  std::mutex transferMutex_;
  std::atomic<bool> aborted_{false};
};

// A manual-reset event, signalled, without a name, as the transfers want it.
UniqueHandle MakeTransferEvent();
