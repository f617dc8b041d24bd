// The report framing of the Linux HID backend over a stand-in for hidraw: the
// protocol's reports carry the report ID 0 in byte 0, hidraw's reads do not.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "device/AltimeterLink.h"
#include "device/linux/HidapiBackend.h"
#include "tools/FakeHidraw.h"

namespace {

using Clock = std::chrono::steady_clock;
using Report = std::vector<uint8_t>;

constexpr char kNode[] = "/dev/hidraw0";

// Far below the 3000 ms the reads wait for, far above a 20 ms poll on a busy machine.
constexpr auto kPrompt = std::chrono::milliseconds(1000);

// `size` bytes counting up from `first`.
Report Counting(size_t size, uint8_t first) {
  Report report(size);
  for (size_t i = 0; i < size; ++i) report[i] = static_cast<uint8_t>(first + i);
  return report;
}

class HidapiConnectionTest : public testing::Test {
 protected:
  void SetUp() override {
    hidraw->Plug(kNode, kAltimeterVendorId, kApplicationProductId, 0x0141);
    connection = backend.Open(L"/dev/hidraw0").connection;
    ASSERT_TRUE(connection);
  }

  // A read of `length` bytes; an empty report when it failed.
  Report Read(size_t length, unsigned timeoutMs = 3000) {
    Report buffer(length, 0xEE);
    return connection->ReadReport(buffer.data(), length, timeoutMs) ? buffer : Report{};
  }

  // A read of 3000 ms on another thread.
  std::future<bool> ReadLater() {
    return std::async(std::launch::async, [this] {
      uint8_t buffer[kApplicationReportLength];
      return connection->ReadReport(buffer, sizeof buffer, 3000);
    });
  }

  const std::shared_ptr<FakeHidraw> hidraw = std::make_shared<FakeHidraw>();
  HidapiBackend backend{hidraw};
  std::shared_ptr<HidConnection> connection;
};

TEST_F(HidapiConnectionTest, ReadsPutTheReportIdBackInFront) {
  for (const size_t length : {kApplicationReportLength, kBootloaderReportLength}) {
    SCOPED_TRACE(length);
    const Report sent = Counting(length - 1, 1);
    hidraw->Send(kNode, sent);
    const Report read = Read(length);
    ASSERT_EQ(length, read.size());
    EXPECT_EQ(0, read[0]);
    EXPECT_EQ(sent, Report(read.begin() + 1, read.end()));
  }
}

// A report of another length is garbage: refused, and the next one still read whole.
TEST_F(HidapiConnectionTest, ReportsOfAnotherLengthFail) {
  for (const size_t wrong : {size_t(2), size_t(4), size_t(64)}) {
    SCOPED_TRACE(wrong);
    hidraw->Send(kNode, Counting(wrong, 1));
    hidraw->Send(kNode, {7, 8, 9});
    EXPECT_TRUE(Read(kApplicationReportLength).empty());
    EXPECT_EQ((Report{0, 7, 8, 9}), Read(kApplicationReportLength));
  }
}

TEST_F(HidapiConnectionTest, WritesGoWithTheReportIdAndWhole) {
  for (const size_t length : {kApplicationReportLength, kBootloaderReportLength}) {
    Report report = Counting(length, 0);
    EXPECT_TRUE(connection->WriteReport(report.data(), length, 3000));
  }
  const std::vector<Report> written = hidraw->Written(kNode);
  ASSERT_EQ(2u, written.size());
  EXPECT_EQ(Counting(kApplicationReportLength, 0), written[0]);
  EXPECT_EQ(Counting(kBootloaderReportLength, 0), written[1]);

  hidraw->LimitWrites(kBootloaderReportLength - 1);
  const Report report = Counting(kBootloaderReportLength, 0);
  EXPECT_FALSE(connection->WriteReport(report.data(), report.size(), 3000)) << "a short write fails";
}

// A report that comes after the time-out is left for the next read.
TEST_F(HidapiConnectionTest, AReadTimesOutAndLosesNothing) {
  const auto start = Clock::now();
  EXPECT_TRUE(Read(kApplicationReportLength, 100).empty());
  const auto waited = Clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(100));
  EXPECT_LT(waited, kPrompt);
  hidraw->Send(kNode, {1, 2, 3});
  EXPECT_EQ((Report{0, 1, 2, 3}), Read(kApplicationReportLength, 100));
  EXPECT_TRUE(Read(kApplicationReportLength, 0).empty());
}

TEST_F(HidapiConnectionTest, AbortEndsAPendingReadAndEveryLaterTransfer) {
  const auto start = Clock::now();
  std::future<bool> pending = ReadLater();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  connection->Abort();
  ASSERT_EQ(std::future_status::ready, pending.wait_for(kPrompt));
  EXPECT_FALSE(pending.get());
  EXPECT_LT(Clock::now() - start, kPrompt + std::chrono::milliseconds(50));

  hidraw->Send(kNode, {1, 2, 3});
  EXPECT_TRUE(Read(kApplicationReportLength).empty());
  const Report report = Counting(kApplicationReportLength, 0);
  EXPECT_FALSE(connection->WriteReport(report.data(), report.size(), 3000));
  EXPECT_TRUE(hidraw->Written(kNode).empty()) << "nothing reaches the device";
}

TEST_F(HidapiConnectionTest, AVanishedDeviceFailsAtOnce) {
  std::future<bool> pending = ReadLater();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  hidraw->Unplug(kNode);
  ASSERT_EQ(std::future_status::ready, pending.wait_for(kPrompt));
  EXPECT_FALSE(pending.get());
  const Report report = Counting(kApplicationReportLength, 0);
  EXPECT_FALSE(connection->WriteReport(report.data(), report.size(), 3000));
  EXPECT_TRUE(Read(kApplicationReportLength).empty());
}

}  // namespace
