#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "dialogs/StatusText.h"

namespace {

// Workers append while the main thread copies the text into the box: every
// copy it sees is whole lines, and the box never overflows.
TEST(StatusTextConcurrency, CopiesSeeWholeLinesWhileWorkersAppend) {
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
  int copies = 0;
  bool whole = true;
  while (!done || copies == 0) {
    status.Read([&](const wchar_t* text) {
      const std::wstring_view copy(text);
      whole = whole && copy.size() < StatusText::kCapacity &&
              (copy.empty() || (copy.substr(0, 13) == L"Packet Read: " && copy.substr(copy.size() - 2) == L"\r\n"));
    });
    ++copies;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));  // as a box refresh would, between posts
  }
  ender.join();
  EXPECT_TRUE(whole);
  EXPECT_GT(status.Length(), StatusText::kCapacity - 100) << "full, less at most a couple of dropped lines";
}

}  // namespace
