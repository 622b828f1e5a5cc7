#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "res/ControlIds.h"
#include "ui/MemoryWindow.h"

// The window without widgets where it behaves as a real window must: its combo box and its clock.
namespace tolvane::testing {
namespace {

TEST(MemoryWindow, comboBox_anIndexOutOfRangeClearsSelectionAndText_asCbSetCurSelDoes) {
  CMemoryWindow window;
  window.ComboAddString(IDC_LANGUAGE, "English");
  window.ComboSetCurSel(IDC_LANGUAGE, 0);
  // An item sorted in before the selection moves it along.
  EXPECT_EQ(window.ComboAddString(IDC_LANGUAGE, "Dansk"), 0);
  EXPECT_EQ(window.ComboGetCurSel(IDC_LANGUAGE), 1);
  for (const int index : {-1, 2}) {
    window.ComboSetCurSel(IDC_LANGUAGE, 1);
    EXPECT_EQ(window.ComboSetCurSel(IDC_LANGUAGE, index), -1);
    EXPECT_EQ(window.ComboGetCurSel(IDC_LANGUAGE), -1);
    EXPECT_EQ(window.GetWindowText(IDC_LANGUAGE), "");
  }
}

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
