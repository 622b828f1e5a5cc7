#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "ThreadedLinkFixture.h"
#include "res/Strings.h"

namespace tolvane::testing {
namespace {

using namespace std::chrono_literals;

using ThreadedLink = ThreadedLinkTest;

TEST_F(ThreadedLink, commandsLeaveInQueuedOrderOnePerPass) {
  std::mutex lock;
  std::vector<int> passAtWrite;
  port.onWrite = [&](const std::string&) {
    std::lock_guard guard(lock);
    passAtWrite.push_back(t_passes);
  };
  dlg->OnConnect();
  for (const char* command : {"GPS:open", "BT:open", "WiFi:open", "GPS:close"}) dlg->QueueCommand(command);
  ASSERT_TRUE(Pump([&] { return port.Writes().size() == 5; }));
  EXPECT_EQ(port.Writes(),
            (std::vector<std::string>{"COM:open~", "GPS:open~", "BT:open~", "WiFi:open~", "GPS:close~"}));
  port.onWrite = nullptr;
  std::lock_guard guard(lock);
  for (std::size_t i = 1; i < passAtWrite.size(); ++i) EXPECT_GT(passAtWrite[i], passAtWrite[i - 1]);
}

TEST_F(ThreadedLink, messageSplitAcrossPiecesIsHandledWhenComplete) {
  dlg->OnConnect();
  port.Feed("CO");
  port.Feed("M:op");
  ASSERT_TRUE(Pump([&] { return dlg->GetRecvQueue().IsEmpty(); }));
  EXPECT_FALSE(dlg->IsDeviceReady());
  port.Feed("en~");
  EXPECT_TRUE(Pump([&] { return dlg->IsDeviceReady(); }));
}

TEST_F(ThreadedLink, messageBoxHoldsLaterMessagesBackThenTheyFollowInOrder) {
  ConnectReady();
  std::string imeiWhileBoxOpen = "unset";
  window.SetMessageBoxHook([&](const std::string&) {
    // Like a modal box, keep serving the window's queue for a while.
    for (int i = 0; i < 100; ++i) {
      window.RunPosted();
      std::this_thread::sleep_for(1ms);
    }
    imeiWhileBoxOpen = window.GetWindowText(IDC_IMEI);
  });
  port.Feed("IMEI:ok~IMEI:356938035643809~");
  ASSERT_TRUE(Pump([&] { return window.GetWindowText(IDC_IMEI) == "356938035643809"; }));
  EXPECT_EQ(imeiWhileBoxOpen, "");
  EXPECT_EQ(window.MessageBoxes().size(), 1u);
}

TEST_F(ThreadedLink, deviceClosingTheLinkFromItsOwnMessageDoesNotDeadlock) {
  ConnectReady();
  port.Feed("COM:close~");
  ASSERT_TRUE(Pump([&] { return !port.IsOpen(); }));
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Connect");
  EXPECT_FALSE(dlg->IsDeviceReady());
  // The next Connect waits for the old receiver and starts afresh.
  port.ClearWrites();
  dlg->OnConnect();
  EXPECT_TRUE(Pump([&] { return port.WrittenText() == "COM:open~"; }));
}

TEST_F(ThreadedLink, messagesCutFromTheClosingPieceAreStillHandledAfterTheClose) {
  ConnectReady();
  bool openWhenBoxShown = true;
  window.SetMessageBoxHook([&](const std::string&) { openWhenBoxShown = port.IsOpen(); });
  port.Feed("FACTORY_RESET:reboot~IMEI:ok~");
  ASSERT_TRUE(Pump([&] { return !window.MessageBoxes().empty(); }));
  EXPECT_FALSE(openWhenBoxShown);
  EXPECT_FALSE(window.IsWindowEnabled(IDC_WRITE_IMEI));
}

TEST_F(ThreadedLink, piecesWaitingTogetherAreTakenInOnePass) {
  ConnectReady();
  std::vector<std::size_t> piecesLeftAtEachBox;
  window.SetMessageBoxHook([&](const std::string& text) {
    // While the first box is open, thirty small pieces arrive, as from a port that reads often.
    if (text == LoadString(IDS_WRITE_IMEI_FAIL)) {
      for (int i = 0; i < 30; ++i) port.Feed("IMEI:ok~");
      return;
    }
    piecesLeftAtEachBox.push_back(dlg->GetRecvQueue().GetCount());
  });
  port.Feed("IMEI:fail~");
  ASSERT_TRUE(Pump([&] { return piecesLeftAtEachBox.size() == 30; }));
  EXPECT_EQ(std::count(piecesLeftAtEachBox.begin(), piecesLeftAtEachBox.end(), 0u), 30);
}

TEST_F(ThreadedLink, pieceTakenTogetherWithTheClosingPieceIsDropped) {
  ConnectReady();
  window.SetMessageBoxHook([&](const std::string& text) {
    if (text != LoadString(IDS_WRITE_IMEI_FAIL)) return;
    port.Feed("COM:close~");
    port.Feed("IMEI:ok~");
  });
  port.Feed("IMEI:fail~");
  ASSERT_TRUE(Pump([&] { return !port.IsOpen(); }));
  // The receiver ends after the closing piece; give a wrongly kept piece the time to show.
  ASSERT_TRUE(Pump([&] { return dlg->GetRecvQueue().IsEmpty(); }));
  for (int i = 0; i < 50; ++i) {
    window.RunPosted();
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(window.MessageBoxes(), std::vector<std::string>{LoadString(IDS_WRITE_IMEI_FAIL)});
}

TEST_F(ThreadedLink, portLostWhileAReplyBoxIsOpenDropsTheRestOfThePiece) {
  ConnectReady();
  window.SetMessageBoxHook([&](const std::string&) { port.Vanish(); });
  port.Feed("IMEI:ok~IMEI:356938035643809~");
  ASSERT_TRUE(Pump([&] { return !dlg->IsRunning(); }));
  window.SetMessageBoxHook(nullptr);
  for (int i = 0; i < 20; ++i) {
    window.RunPosted();
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(window.GetWindowText(IDC_IMEI), "");
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Connect");
}

TEST_F(ThreadedLink, closingWhileAHopWaitsDropsItAndReleasesTheReceiver) {
  dlg->OnConnect();
  port.Feed("COM:open~");
  while (window.PendingPostedCount() == 0) std::this_thread::sleep_for(1ms);
  dlg->OnConnect();  // Close, on the window's thread, with the hop still queued
  EXPECT_FALSE(dlg->IsRunning());
  window.RunPosted();
  EXPECT_FALSE(dlg->IsDeviceReady());
  EXPECT_FALSE(window.IsWindowEnabled(IDC_UPDATE_IP));
}

TEST_F(ThreadedLink, destroyingTheWindowWhileAHopWaitsIsSafe) {
  dlg->OnConnect();
  port.Feed("COM:open~");
  while (window.PendingPostedCount() == 0) std::this_thread::sleep_for(1ms);
  dlg->OnDestroy();
  dlg.reset();
  EXPECT_EQ(window.RunPosted(), 1);  // the stale hop runs and does nothing
  EXPECT_FALSE(port.IsOpen());
}

TEST_F(ThreadedLink, destroyingWhileAReplyHandlersBoxIsOpenDoesNotDeadlock) {
  ConnectReady();
  window.SetMessageBoxHook([&](const std::string&) { dlg->OnDestroy(); });
  port.Feed("IMEI:ok~IMEI:356938035643809~");
  ASSERT_TRUE(Pump([&] { return !window.MessageBoxes().empty(); }));
  window.SetMessageBoxHook(nullptr);
  EXPECT_FALSE(port.IsOpen());
  dlg.reset();  // joins the receiver, which must not be left waiting
  window.RunPosted();
  EXPECT_NE(window.GetWindowText(IDC_IMEI), "356938035643809");
}

TEST_F(ThreadedLink, partialMessageFromBeforeACloseIsGoneAfterReconnect) {
  ConnectReady();
  port.Feed("IMEI:o");
  ASSERT_TRUE(Pump([&] { return dlg->GetRecvQueue().IsEmpty(); }));
  dlg->OnConnect();
  dlg->OnConnect();
  // Joined to the old "IMEI:o", this would be "IMEI:ok" and show a box.
  port.Feed("k~IMEI:777~");
  ASSERT_TRUE(Pump([&] { return window.GetWindowText(IDC_IMEI) == "777"; }));
  EXPECT_TRUE(window.MessageBoxes().empty());
}

TEST_F(ThreadedLink, streamOfMessagesDuringCloseLeavesTheWindowAlone) {
  ConnectReady();
  for (int i = 0; i < 50; ++i) port.Feed("IMEI:" + std::to_string(100000 + i) + "~");
  ASSERT_TRUE(Pump([&] { return window.GetWindowText(IDC_IMEI) == "100000"; }));
  while (window.PendingPostedCount() == 0) std::this_thread::sleep_for(1ms);
  dlg->OnConnect();  // Close with a hop of the stream still waiting
  const std::string afterClose = window.GetWindowText(IDC_IMEI);
  for (int i = 0; i < 20; ++i) {
    window.RunPosted();
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(window.GetWindowText(IDC_IMEI), afterClose);
  EXPECT_FALSE(dlg->IsRunning());
}

}  // namespace
}  // namespace tolvane::testing
