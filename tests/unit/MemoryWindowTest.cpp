#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "ui/MemoryWindow.h"

// The window without widgets: its virtual clock and its pump (what every window does is in
// tests/contract).
namespace tolvane::testing {
namespace {

TEST(MemoryWindow, clockAndPostedTasks_runOnlyWhenTheOwnerSays_andWakeItFromAnyThread) {
  CMemoryWindow window;
  std::atomic<int> wakes{0};
  window.SetWakeHandler([&wakes] { ++wakes; });
  std::vector<int> fired;
  window.SetTimerHandler([&](int id) {
    fired.push_back(id);
    window.KillTimer(id);
  });
  window.SetTimer(1, 500);
  window.SetTimer(2, 200);
  EXPECT_EQ(window.UntilNextTimer(), 200);
  window.AdvanceClock(499);
  EXPECT_EQ(fired, std::vector<int>{2});
  EXPECT_EQ(window.UntilNextTimer(), 1);

  bool ran = false;
  std::thread worker([&] { window.PostToWindowThread([&ran] { ran = true; }); });
  worker.join();
  EXPECT_FALSE(ran);
  EXPECT_EQ(wakes, 3);  // two timers set, one task posted
  EXPECT_EQ(window.RunPosted(), 1);
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace tolvane::testing
