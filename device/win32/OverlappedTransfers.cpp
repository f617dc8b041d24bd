#include "device/win32/OverlappedTransfers.h"

#include <utility>

OverlappedTransfers::OverlappedTransfers(UniqueHandle event) : event_(std::move(event)) {}

bool OverlappedTransfers::Run(HANDLE handle, size_t length, unsigned timeoutMs, const StartFn& start) {
  std::lock_guard<std::mutex> lock(transferMutex_);
  if (aborted_) return false;
  overlapped_ = OVERLAPPED{};
  overlapped_.hEvent = event_.Get();
  if (!start(&overlapped_) && GetLastError() != ERROR_IO_PENDING) return false;
  // An Abort that came after the check above found nothing to cancel yet; this
  // one sees its flag, or else its cancel comes after the start and ends the transfer.
  if (aborted_ || WaitForSingleObject(event_.Get(), timeoutMs) != WAIT_OBJECT_0) {
    CancelAndWait(handle);
    return false;
  }
  DWORD transferred = 0;
  return GetOverlappedResult(handle, &overlapped_, &transferred, FALSE) && transferred == length;
}

void OverlappedTransfers::Abort(std::initializer_list<HANDLE> handles) {
  aborted_ = true;
  for (HANDLE handle : handles) CancelIoEx(handle, nullptr);
}

// The buffer and the OVERLAPPED record stay in use until the cancelled
// transfer has completed; wait for that before anyone reuses them.
void OverlappedTransfers::CancelAndWait(HANDLE handle) {
  CancelIoEx(handle, &overlapped_);
  DWORD transferred = 0;
  GetOverlappedResult(handle, &overlapped_, &transferred, TRUE);
}

UniqueHandle MakeTransferEvent() { return UniqueHandle(CreateEventW(nullptr, TRUE, TRUE, L"")); }
