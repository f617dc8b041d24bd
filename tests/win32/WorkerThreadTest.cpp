#include "dialogs/win32/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "dialogs/win32/SystemAwake.h"

namespace {

// An event the test holds the worker on.
class Gate {
 public:
  Gate() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Gate() { CloseHandle(event_); }
  void Open() { SetEvent(event_); }
  void Wait() { WaitForSingleObject(event_, 10000); }

 private:
  HANDLE event_;
};

TEST(WorkerThread, RunsOneWorkerAtATime) {
  Gate gate;
  std::atomic<int> started{0};
  WorkerThread worker;
  EXPECT_TRUE(worker.WaitFor(0)) << "no worker yet";
  ASSERT_TRUE(worker.Start([&] {
    ++started;
    gate.Wait();
  }));
  EXPECT_TRUE(worker.IsRunning());
  EXPECT_FALSE(worker.Start([&] { ++started; })) << "a second press while the first runs";
  EXPECT_FALSE(worker.WaitFor(50));
  gate.Open();
  ASSERT_TRUE(worker.WaitFor(10000));
  EXPECT_EQ(1, started);
  EXPECT_TRUE(worker.Start([&] { ++started; }));
  ASSERT_TRUE(worker.WaitFor(10000));
  EXPECT_EQ(2, started);
}

TEST(WorkerThread, AWorkerThatThrowsEndsLikeOneThatReturns) {
  WorkerThread worker;
  ASSERT_TRUE(worker.Start([] { throw std::runtime_error("device gone"); }));
  EXPECT_TRUE(worker.WaitFor(10000));
  EXPECT_TRUE(worker.Start([] {}));
}

// The state is the thread's own: a job holds the machine awake only while it runs.
TEST(SystemAwake, HoldsTheMachineAwakeForItsScopeOnly) {
  constexpr EXECUTION_STATE kAwake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED;
  {
    const SystemAwake awake;
    EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) & kAwake, kAwake);
  }
  EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS) & ES_SYSTEM_REQUIRED, 0u);
}

}  // namespace
