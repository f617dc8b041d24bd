#include "view/RedrawRequest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(RedrawRequest, CoalescesRequestsUntilTaken) {
  int wakes = 0;
  RedrawRequest request([&] { return ++wakes, true; });
  for (int i = 0; i < 1000; ++i) request.Request();
  EXPECT_EQ(1, wakes);
  EXPECT_TRUE(request.Take());
  EXPECT_FALSE(request.Take());
  request.Request();
  EXPECT_EQ(2, wakes);
  request.Discard();
  EXPECT_FALSE(request.Take());
}

TEST(RedrawRequest, UnreachableDrawerDropsTheRequestSoTheNextOneWakesAgain) {
  bool reachable = false;
  int wakes = 0;
  RedrawRequest request([&] { return ++wakes, reachable; });
  request.Request();
  EXPECT_FALSE(request.Take());
  reachable = true;
  request.Request();
  EXPECT_EQ(2, wakes);
  EXPECT_TRUE(request.Take());
}

// A drawer thread serves posted wake-ups like a message loop; its first drawing
// is held until the whole burst is over. If a request ever waited for a
// drawing, the burst could not finish.
TEST(RedrawRequest, BurstFromAnotherThreadNeverWaitsAndEndsWithTheLatestData) {
  constexpr int kBurst = 20000;
  std::atomic<int> posted{0};
  RedrawRequest request([&] { return posted.fetch_add(1), true; });
  std::atomic<int> latest{0};
  std::atomic<int> drawings{0};
  std::atomic<bool> stop{false};
  std::promise<void> firstDrawingStarted;
  std::promise<void> firstDrawingMayEnd;
  std::shared_future<void> mayEnd = firstDrawingMayEnd.get_future().share();
  std::vector<int> drawn;

  std::thread drawer([&] {
    int served = 0;
    while (!stop) {
      if (posted.load() == served) {
        std::this_thread::yield();
        continue;
      }
      ++served;
      if (!request.Take()) continue;
      drawn.push_back(latest.load());  // draws from the latest data
      if (drawings.fetch_add(1) == 0) {
        firstDrawingStarted.set_value();
        mayEnd.wait();
      }
    }
  });

  latest = 1;
  request.Request();
  firstDrawingStarted.get_future().wait();
  auto burst = std::async(std::launch::async, [&] {
    for (int i = 2; i <= kBurst; ++i) {
      latest = i;
      request.Request();
    }
  });
  EXPECT_EQ(std::future_status::ready, burst.wait_for(10s)) << "a request waited for the drawing";
  firstDrawingMayEnd.set_value();
  burst.wait();
  for (int i = 0; i < 1000 && drawings.load() < 2; ++i) std::this_thread::sleep_for(5ms);
  std::this_thread::sleep_for(20ms);  // room for a surplus drawing to show up
  stop = true;
  drawer.join();

  EXPECT_EQ(2, posted.load());
  EXPECT_EQ((std::vector<int>{1, kBurst}), drawn);
}

}  // namespace
