// A download runs on a dialog's worker thread while the main thread reads the
// packet list, rebuilds the displayed set, draws the live trace, and closes
// the device when it is unplugged.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "sim/SimAltimeter.h"

namespace {

class DownloadConcurrencyTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(link.Connect(nullptr, false), 1); }

  RedirectedDebugLog silence;  // both threads write the log; nobody reads it here
  SimHidBackend backend{0.01};
  std::shared_ptr<SimInterface> device =
      PlugSimAltimeter(backend, std::make_shared<SimAltimeter>(PresetMemory(MemoryPreset::Full)));
  AltimeterLink link{backend};
};

TEST_F(DownloadConcurrencyTest, MainThreadReadsWhileTheWorkerDownloads) {
  std::atomic<bool> done{false};
  int result = 1;
  std::thread worker([&] {
    result = link.ReadData(nullptr, nullptr);
    done = true;
  });
  size_t seen = 0;
  while (!done) {
    {
      const auto data = link.LockData();
      ASSERT_GE(link.packets.size(), seen) << "the list only grows during a download";
      seen = link.packets.size();
    }
    link.SelectDataSet(0);
    const FastTrace trace = link.fastSet.Snapshot();
    ASSERT_LE(trace.samples.size(), 128u * 31u);
  }
  worker.join();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(link.packets.size(), 128u);
  EXPECT_EQ(link.comments.size(), static_cast<size_t>(link.CountSets()));
}

TEST_F(DownloadConcurrencyTest, UnplugNoticeEndsTheDownload) {
  device->SetReplyDelayMs(1);
  std::thread worker([&] { EXPECT_EQ(link.ReadData(nullptr, nullptr), -1); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  link.device.Close();  // the main thread, on the removal notice
  worker.join();
  EXPECT_FALSE(link.IsConnected());
  const auto data = link.LockData();
  EXPECT_LT(link.packets.size(), 128u) << "only the blocks read before the removal";
}

}  // namespace
