#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "dialogs/StatusText.h"

namespace {

// Workers append while the main thread brings the box up to date from copies
// of the changes: the box holds whole lines, never overflows, always has the
// length of the text it was mended to, and ends equal to the text.
TEST(StatusTextConcurrency, ABoxKeptUpWhileWorkersAppendSeesWholeLines) {
  StatusText status;
  std::atomic<bool> done{false};
  std::vector<std::thread> workers;
  for (int w = 0; w < 2; ++w) {
    workers.emplace_back([&status, w] {
      for (int n = 0; n < 2500; ++n) {
        status.Append(L"Packet Read: " + std::to_wstring(w * 100000 + n) + L" of a long download\r\n");
      }
    });
  }
  std::thread ender([&] {
    for (std::thread& worker : workers) worker.join();
    done = true;
  });
  std::wstring box;
  StatusRange shown;
  int refreshes = 0;
  bool whole = true;
  bool sized = true;
  const auto refresh = [&] {
    const StatusChange change = status.ChangeSince(shown);
    if (change.mendable) {
      box.erase(0, change.dropped);
      box += change.text;
    } else {
      box = change.text;
    }
    shown = change.range;
    sized = sized && box.size() == change.Length();
    whole = whole && box.size() < StatusText::kCapacity &&
            (box.empty() || (box.compare(0, 13, L"Packet Read: ") == 0 && box.compare(box.size() - 2, 2, L"\r\n") == 0));
  };
  while (!done || refreshes == 0) {
    refresh();
    ++refreshes;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));  // as a box refresh would, between posts
  }
  ender.join();
  refresh();
  EXPECT_TRUE(whole) << "only whole lines come and go";
  EXPECT_TRUE(sized);
  EXPECT_EQ(status.Whole().text, box);
  EXPECT_GT(status.Length(), StatusText::kCapacity - 100) << "full, less at most a couple of dropped lines";
}

}  // namespace
