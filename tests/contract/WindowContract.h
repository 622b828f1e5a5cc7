#pragma once

// What the dialog relies on from every IWindow, written once and run against each implementation.
//
// A driver makes one fresh window and stands in for its platform:
//   IWindow& Window();
//   bool PumpUntil(const std::function<bool()>& done);  // runs the window thread's events and lets
//                                                        // time pass, until done() or a generous bound
//   void Drain();                                        // runs what is waiting now, once
//   int Expiries(int timerId) const;                     // how often the window's timer has fired
//   void AnswerBoxes(std::function<void(const CShownBox&)> whileOpen);  // OK to every box, from now on
//   std::string SystemMenuEntry(int commandId) const;    // its text; empty when the menu has none
//   static constexpr bool kShowsAboutBox;  // the About box is installed as the front end does it
//   IWindow* EndWindow();  // the window goes as its front end ends it; the object if it outlives that
// The test's thread is the window's thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "res/ControlIds.h"
#include "ui/IWindow.h"
#include "res/TimerIds.h"

namespace tolvane::contract {

// A message box as the user sees it while it is open.
struct CShownBox {
  std::string caption;
  std::string text;
  bool blocksWindow = false;  // opened over the window, which takes no input until it is answered
};

template <typename Driver>
class WindowContract : public ::testing::Test {
 protected:
  IWindow& Window() { return m_driver.Window(); }
  bool PumpUntil(const std::function<bool()>& done) { return m_driver.PumpUntil(done); }
  int Expiries(int id) const { return m_driver.Expiries(id); }

  Driver m_driver;
};

TYPED_TEST_SUITE_P(WindowContract);

inline const std::string kBeyondBmp = "\xF0\x9D\x84\x9E";  // U+1D11E: two UTF-16 units

TYPED_TEST_P(WindowContract, textRoundTripsAsUtf8AndItsLengthIsInUtf16Units) {
  IWindow& window = this->Window();
  struct CCase {
    std::string text;
    int utf16Length;
  };
  const CCase cases[] = {{"Close", 5}, {"用户名", 3}, {"GPS " + kBeyondBmp + " 定位", 9}, {"", 0}};
  for (const int id : {IDC_ACCOUNT, IDC_CONNECT, IDC_GPS_STATUS, IDC_GPS_RAW}) {
    for (const CCase& c : cases) {
      window.SetWindowText(id, c.text);
      EXPECT_EQ(window.GetWindowText(id), c.text) << "control " << id;
      EXPECT_EQ(window.GetWindowTextLength(id), c.utf16Length) << "control " << id << ": " << c.text;
    }
  }
  // The typing limit binds the user, not the program: a device's answer is shown whole.
  window.LimitText(IDC_IMEI, 15);
  window.SetWindowText(IDC_IMEI, "35693803564380912345");
  EXPECT_EQ(window.GetWindowText(IDC_IMEI), "35693803564380912345");
}

TYPED_TEST_P(WindowContract, eachControlIsEnabledAndDisabledOnItsOwn) {
  IWindow& window = this->Window();
  for (const int id : {IDC_CONNECT, IDC_ACCOUNT, IDC_GPS_RAW, IDC_PORT, IDC_WIFI_LIST, IDC_SERVER_IP}) {
    window.EnableWindow(id, false);
    EXPECT_FALSE(window.IsWindowEnabled(id)) << "control " << id;
    EXPECT_TRUE(window.IsWindowEnabled(IDC_WRITE_IMEI)) << "control " << id;
    window.EnableWindow(id, true);
    EXPECT_TRUE(window.IsWindowEnabled(id)) << "control " << id;
  }
}

TYPED_TEST_P(WindowContract, comboKeepsItsItemsSortedAndAnswersWithSortedIndices) {
  IWindow& window = this->Window();
  const int combo = IDC_PORT;
  EXPECT_EQ(window.ComboGetCount(combo), 0);
  EXPECT_EQ(window.ComboAddString(combo, "COM2 (ttyS1)"), 0);
  // Adding an item selects nothing, not even the first.
  EXPECT_EQ(window.ComboGetCurSel(combo), -1);
  EXPECT_EQ(window.GetWindowText(combo), "");
  EXPECT_EQ(window.ComboAddString(combo, "COM10 (ttyUSB0)"), 0);
  EXPECT_EQ(window.ComboAddString(combo, "com1 (ttyS0)"), 0);  // case does not count
  EXPECT_EQ(window.ComboAddString(combo, "中文简体"), 3);
  EXPECT_EQ(window.ComboAddString(combo, "COM3 (ttyS2)"), 3);
  ASSERT_EQ(window.ComboGetCount(combo), 5);

  const char* sorted[] = {"com1 (ttyS0)", "COM10 (ttyUSB0)", "COM2 (ttyS1)", "COM3 (ttyS2)", "中文简体"};
  for (int index = 0; index < 5; ++index) {
    EXPECT_EQ(window.ComboSetCurSel(combo, index), index);
    EXPECT_EQ(window.ComboGetCurSel(combo), index);
    EXPECT_EQ(window.GetWindowText(combo), sorted[index]);
  }
  // An item sorted in before the selection moves the selection along with its item.
  window.ComboSetCurSel(combo, 2);
  EXPECT_EQ(window.ComboAddString(combo, "COM0 (ttyACM0)"), 0);
  EXPECT_EQ(window.ComboGetCurSel(combo), 3);
  EXPECT_EQ(window.GetWindowText(combo), "COM2 (ttyS1)");
}

TYPED_TEST_P(WindowContract, comboInvalidIndexOrResetClearsSelectionAndShownText) {
  IWindow& window = this->Window();
  const int combo = IDC_NETWORK_TYPE;
  for (const char* item : {"3G/2G", "2G", "3G"}) window.ComboAddString(combo, item);
  for (const int invalid : {-1, 3, 99}) {
    ASSERT_EQ(window.ComboSetCurSel(combo, 1), 1);
    ASSERT_EQ(window.GetWindowText(combo), "3G");
    EXPECT_EQ(window.ComboSetCurSel(combo, invalid), -1) << invalid;
    EXPECT_EQ(window.ComboGetCurSel(combo), -1) << invalid;
    EXPECT_EQ(window.GetWindowText(combo), "") << invalid;
    EXPECT_EQ(window.ComboGetCount(combo), 3) << invalid;
  }

  window.ComboSetCurSel(combo, 2);
  window.ComboResetContent(combo);
  EXPECT_EQ(window.ComboGetCount(combo), 0);
  EXPECT_EQ(window.ComboGetCurSel(combo), -1);
  EXPECT_EQ(window.GetWindowText(combo), "");
  // Filled again, as the port list is each time it opens.
  EXPECT_EQ(window.ComboAddString(combo, "2G"), 0);
  EXPECT_EQ(window.ComboGetCurSel(combo), -1);
  EXPECT_EQ(window.ComboSetCurSel(combo, 0), 0);
  EXPECT_EQ(window.GetWindowText(combo), "2G");
}

TYPED_TEST_P(WindowContract, reportListKeepsRowsAndCellsAndReadsOutOfRangeAsEmpty) {
  IWindow& window = this->Window();
  const int list = IDC_BT_LIST;
  for (const int column : {0, 1, 2}) window.ListInsertColumn(list, column, "Name", ColumnAlign::Center, 100);
  EXPECT_EQ(window.ListGetItemCount(list), 0);
  EXPECT_EQ(window.ListInsertItem(list, 0, "耳机", -1), 0);
  EXPECT_EQ(window.ListInsertItem(list, 7, "Speaker", -1), 1);  // past the end: appended
  EXPECT_EQ(window.ListInsertItem(list, 0, "Car kit", -1), 0);
  ASSERT_EQ(window.ListGetItemCount(list), 3);

  // Longer than a first read buffer would hold.
  const std::string longName(700, 'a');
  window.ListSetItemText(list, 1, 1, "3c:84:6a:01:22:9f");
  window.ListSetItemText(list, 1, 2, "已配对 " + kBeyondBmp);
  window.ListSetItemText(list, 2, 1, longName);
  EXPECT_EQ(window.ListGetItemText(list, 0, 0), "Car kit");
  EXPECT_EQ(window.ListGetItemText(list, 1, 0), "耳机");
  EXPECT_EQ(window.ListGetItemText(list, 2, 0), "Speaker");
  EXPECT_EQ(window.ListGetItemText(list, 1, 1), "3c:84:6a:01:22:9f");
  EXPECT_EQ(window.ListGetItemText(list, 1, 2), "已配对 " + kBeyondBmp);
  EXPECT_EQ(window.ListGetItemText(list, 2, 1), longName);
  EXPECT_EQ(window.ListGetItemText(list, 0, 1), "");  // never set

  // Nothing out of range is kept, and reading there gives nothing.
  window.ListSetItemText(list, 3, 0, "ghost");
  window.ListSetItemText(list, -1, 0, "ghost");
  EXPECT_EQ(window.ListGetItemCount(list), 3);
  for (const auto& [row, column] : {std::pair{3, 0}, {-1, 0}, {99, 1}, {0, -1}, {0, 3}})
    EXPECT_EQ(window.ListGetItemText(list, row, column), "") << row << ", " << column;

  window.ListDeleteAllItems(list);
  EXPECT_EQ(window.ListGetItemCount(list), 0);
  EXPECT_EQ(window.ListGetItemText(list, 0, 0), "");
  EXPECT_EQ(window.ListInsertItem(list, 2, "Headset", -1), 0);
  EXPECT_EQ(window.ListGetItemText(list, 0, 0), "Headset");
}

TYPED_TEST_P(WindowContract, ipAddressIsSetReadBlankAndCleared) {
  IWindow& window = this->Window();
  const int ip = IDC_SERVER_IP;
  EXPECT_TRUE(window.IpIsBlank(ip));
  for (const std::uint32_t address : {0xC0A80001u, 0x0A00FF7Fu, 0xFFFFFFFFu, 0u}) {
    window.IpSetAddress(ip, address);
    // 0.0.0.0 is an address, not a blank.
    EXPECT_FALSE(window.IpIsBlank(ip)) << address;
    EXPECT_EQ(window.IpGetAddress(ip), address);
  }
  window.IpSetAddress(ip, 0xC0A80001u);
  window.IpClearAddress(ip);
  EXPECT_TRUE(window.IpIsBlank(ip));
  EXPECT_EQ(window.IpGetAddress(ip), 0u);
}

TYPED_TEST_P(WindowContract, appendTextAddsAtTheEndOfWhatIsThere) {
  IWindow& window = this->Window();
  const int box = IDC_GPS_RAW;
  // Whatever the program put there last, emptied (as the raw GPS box is when full) or not.
  for (const std::string& before : {std::string(), std::string("$GPGSV,1*70\n")}) {
    window.SetWindowText(box, before);
    std::string expected = before;
    for (const std::string& piece : {std::string("$GPGGA,092750.000,5321.6802,N*76\n"), std::string("$GPRMC,"),
                                     "定位 " + kBeyondBmp, std::string(",A*1F\n")}) {
      window.AppendText(box, piece);
      expected += piece;
      EXPECT_EQ(window.GetWindowText(box), expected);
    }
    // The appended text is 57 bytes in 51 UTF-16 units.
    EXPECT_EQ(window.GetWindowTextLength(box), static_cast<int>(before.size()) + 51);
  }
}

TYPED_TEST_P(WindowContract, timerFiresOncePerPeriodUntilKilled) {
  IWindow& window = this->Window();
  const int timer = TIMER_UPDATE_IP;
  const int witness = TIMER_SET_APN;  // keeps time for the others
  window.SetTimer(timer, 20);
  window.SetTimer(witness, 20);
  ASSERT_TRUE(this->PumpUntil([&] { return this->Expiries(witness) >= 5; }));
  EXPECT_NEAR(this->Expiries(timer), this->Expiries(witness), 2);

  window.KillTimer(timer);
  const int killedAt = this->Expiries(timer);
  const int witnessAt = this->Expiries(witness);
  ASSERT_TRUE(this->PumpUntil([&] { return this->Expiries(witness) >= witnessAt + 5; }));
  EXPECT_EQ(this->Expiries(timer), killedAt);
  window.KillTimer(witness);
}

TYPED_TEST_P(WindowContract, timerArmedAgainWhileRunningRestartsWithTheNewPeriod) {
  IWindow& window = this->Window();
  const int timer = TIMER_UPDATE_IP;
  const int witness = TIMER_SET_APN;
  // A long period cut short keeps pace with a witness of the short one...
  window.SetTimer(timer, 600000);
  window.SetTimer(timer, 20);
  window.SetTimer(witness, 20);
  ASSERT_TRUE(this->PumpUntil([&] { return this->Expiries(witness) >= 5; }));
  EXPECT_NEAR(this->Expiries(timer), this->Expiries(witness), 2);

  // ...and a short one made long stays quiet while the witness goes on.
  window.SetTimer(timer, 600000);
  const int rearmedAt = this->Expiries(timer);
  const int witnessAt = this->Expiries(witness);
  ASSERT_TRUE(this->PumpUntil([&] { return this->Expiries(witness) >= witnessAt + 5; }));
  EXPECT_EQ(this->Expiries(timer), rearmedAt);
  window.KillTimer(timer);
  window.KillTimer(witness);
}

TYPED_TEST_P(WindowContract, messageBoxIsModalAndReturnsOnceAnsweredWithItsText) {
  IWindow& window = this->Window();
  std::mutex lock;  // a platform may answer from another thread
  std::vector<CShownBox> shown;
  std::atomic<bool> returned{false};
  bool answeredBeforeReturn = true;
  this->m_driver.AnswerBoxes([&](const CShownBox& box) {
    std::lock_guard guard(lock);
    shown.push_back(box);
    answeredBeforeReturn = answeredBeforeReturn && !returned;
  });
  const std::string texts[] = {"Update IP OK", "设置失败 " + kBeyondBmp};
  for (const std::string& text : texts) {
    returned = false;
    window.MessageBox(text);
    returned = true;
  }
  std::lock_guard guard(lock);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(answeredBeforeReturn);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    EXPECT_EQ(shown[i].text, texts[i]);
    EXPECT_TRUE(shown[i].blocksWindow);
  }
}

TYPED_TEST_P(WindowContract, systemMenuTakesTheAboutEntryAndTheAboutBoxOpensOverTheWindow) {
  IWindow& window = this->Window();
  const std::string entry = "About Tolvane(&A)...";
  const bool added = window.AppendSystemMenuItem(IDM_ABOUTBOX, entry);
  EXPECT_EQ(this->m_driver.SystemMenuEntry(IDM_ABOUTBOX), added ? entry : "");

  std::vector<CShownBox> shown;
  bool returned = false;
  bool answeredBeforeReturn = true;
  this->m_driver.AnswerBoxes([&](const CShownBox& box) {
    shown.push_back(box);
    answeredBeforeReturn = answeredBeforeReturn && !returned;
  });
  // Twice: a box that cannot open again, or that leaves the window blocked, shows on the second.
  for (int time = 0; time < 2; ++time) {
    returned = false;
    window.RunAboutBox();
    returned = true;
  }
  if (!TypeParam::kShowsAboutBox) {
    EXPECT_TRUE(shown.empty());
    return;
  }
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(answeredBeforeReturn);
  for (const CShownBox& box : shown) {
    EXPECT_EQ(box.caption, "About Tolvane");
    EXPECT_TRUE(box.blocksWindow);
  }
}

TYPED_TEST_P(WindowContract, tasksPostedFromAnotherThreadRunOnTheWindowsThreadInOrder) {
  IWindow& window = this->Window();
  const auto windowThread = std::this_thread::get_id();
  constexpr std::size_t kTasks = 100;
  std::vector<std::size_t> ran;  // touched on the window's thread only
  bool ranElsewhere = false;
  std::thread worker([&] {
    for (std::size_t i = 0; i < kTasks; ++i)
      window.PostToWindowThread([&, i] {
        ranElsewhere = ranElsewhere || std::this_thread::get_id() != windowThread;
        ran.push_back(i);
      });
  });
  // Pumped while the worker still posts, as the receiver hops while the window runs.
  const bool allRan = this->PumpUntil([&] { return ran.size() == kTasks; });
  worker.join();
  ASSERT_TRUE(allRan) << ran.size() << " of " << kTasks;
  EXPECT_FALSE(ranElsewhere);
  for (std::size_t i = 0; i < kTasks; ++i) EXPECT_EQ(ran[i], i);
}

TYPED_TEST_P(WindowContract, tasksForAWindowThatIsGoneAreDroppedNotRun) {
  IWindow& window = this->Window();
  // Shared, so that a task run late by mistake still has somewhere to count.
  const auto ran = std::make_shared<std::atomic<int>>(0);
  std::thread worker([&window, ran] {
    for (int i = 0; i < 10; ++i) window.PostToWindowThread([ran] { ++*ran; });
  });
  worker.join();
  if (IWindow* survivor = this->m_driver.EndWindow()) survivor->PostToWindowThread([ran] { ++*ran; });
  this->m_driver.Drain();
  EXPECT_EQ(*ran, 0);
}

REGISTER_TYPED_TEST_SUITE_P(
    WindowContract, textRoundTripsAsUtf8AndItsLengthIsInUtf16Units, eachControlIsEnabledAndDisabledOnItsOwn,
    comboKeepsItsItemsSortedAndAnswersWithSortedIndices, comboInvalidIndexOrResetClearsSelectionAndShownText,
    reportListKeepsRowsAndCellsAndReadsOutOfRangeAsEmpty, ipAddressIsSetReadBlankAndCleared,
    appendTextAddsAtTheEndOfWhatIsThere, timerFiresOncePerPeriodUntilKilled,
    timerArmedAgainWhileRunningRestartsWithTheNewPeriod, messageBoxIsModalAndReturnsOnceAnsweredWithItsText,
    systemMenuTakesTheAboutEntryAndTheAboutBoxOpensOverTheWindow,
    tasksPostedFromAnotherThreadRunOnTheWindowsThreadInOrder, tasksForAWindowThatIsGoneAreDroppedNotRun);

}  // namespace tolvane::contract
