// Wine has no HID devices; a named pipe stands in for one. A read on it stays
// pending until the other end writes, as a report read waits for the device.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "device/win32/OverlappedTransfers.h"

namespace {

using Clock = std::chrono::steady_clock;

class Pipe {
 public:
  Pipe()
      : name_(L"\\\\.\\pipe\\zel-transfers-" + std::to_wstring(GetCurrentProcessId())),
        device_(CreateNamedPipeW(name_.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE, 1, 64,
                                 64, 0, nullptr)),
        host_(CreateFileW(name_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OVERLAPPED, nullptr)) {}

  bool IsOpen() const { return device_.IsValid() && host_.IsValid(); }
  HANDLE Host() const { return host_.Get(); }
  bool DeviceSends(const uint8_t* report, DWORD length) {
    DWORD written = 0;
    return WriteFile(device_.Get(), report, length, &written, nullptr) && written == length;
  }

 private:
  std::wstring name_;
  UniqueHandle device_;
  UniqueHandle host_;
};

class OverlappedTransfersTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pipe.IsOpen()); }

  OverlappedTransfers::StartFn ReadInto(uint8_t* buffer) {
    return [this, buffer](OVERLAPPED* overlapped) {
      return ReadFile(pipe.Host(), buffer, 4, nullptr, overlapped);
    };
  }

  Pipe pipe;
  OverlappedTransfers transfers{MakeTransferEvent()};
  uint8_t buffer[4] = {};
};

TEST_F(OverlappedTransfersTest, TimedOutReadIsCancelledAndTheNextReportGoesToTheNextRead) {
  EXPECT_FALSE(transfers.Run(pipe.Host(), 4, 50, ReadInto(buffer)));
  const uint8_t report[4] = {0, 0x34, 0x12, 11};
  ASSERT_TRUE(pipe.DeviceSends(report, 4));
  uint8_t next[4] = {};
  EXPECT_TRUE(transfers.Run(pipe.Host(), 4, 1000, ReadInto(next)));
  EXPECT_EQ(std::memcmp(next, report, 4), 0);
}

TEST_F(OverlappedTransfersTest, AbortFromAnotherThreadEndsAPendingRead) {
  const auto start = Clock::now();
  std::thread closer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    transfers.Abort({pipe.Host()});
  });
  EXPECT_FALSE(transfers.Run(pipe.Host(), 4, 3000, ReadInto(buffer)));
  closer.join();
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
}

// The Abort lands after Run looked at the flag and before the read starts:
// its cancel finds nothing pending, yet the read must not wait out its time-out.
TEST_F(OverlappedTransfersTest, AbortJustBeforeTheReadStartsStillEndsIt) {
  const auto start = Clock::now();
  EXPECT_FALSE(transfers.Run(pipe.Host(), 4, 3000, [this](OVERLAPPED* overlapped) {
    transfers.Abort({pipe.Host()});
    return ReadFile(pipe.Host(), buffer, 4, nullptr, overlapped);
  }));
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
  const uint8_t report[4] = {0, 1, 2, 5};
  ASSERT_TRUE(pipe.DeviceSends(report, 4));
  EXPECT_FALSE(transfers.Run(pipe.Host(), 4, 1000, ReadInto(buffer))) << "every later transfer fails too";
}

}  // namespace
