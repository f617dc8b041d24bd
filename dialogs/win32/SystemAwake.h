#pragma once
// Keeps the machine from sleeping while the calling thread lives in this
// scope; the state is the thread's own, so it is made on the worker.
#include <windows.h>

class SystemAwake {
 public:
  SystemAwake() { SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED); }
  ~SystemAwake() { SetThreadExecutionState(ES_CONTINUOUS); }
  SystemAwake(const SystemAwake&) = delete;
  SystemAwake& operator=(const SystemAwake&) = delete;
};
