#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "ThreadedLinkFixture.h"

// Configuration replies through the real worker threads; this test's thread plays the window's.
namespace tolvane::testing {
namespace {

using namespace std::chrono_literals;

using ThreadedSettings = ThreadedLinkTest;

TEST_F(ThreadedSettings, updateIpRoundTripStopsItsTimerFromTheReply) {
  ConnectReady();
  window.IpSetAddress(IDC_SERVER_IP, 0x0A000001);
  dlg->OnUpdateIp();
  ASSERT_TRUE(Pump([&] { return port.Writes().back() == "IP:10.0.0.1~"; }));
  port.Feed("IP:o");
  port.Feed("k~");
  ASSERT_TRUE(Pump([&] { return Shown("Update IP OK"); }));
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_IP));
  EXPECT_TRUE(window.IsWindowEnabled(IDC_UPDATE_IP));
  EXPECT_TRUE(window.IsWindowEnabled(IDC_UPDATE_DOMAIN));
}

TEST_F(ThreadedSettings, factoryResetClosesFromItsHopAndTheRestOfThePieceIsStillHandled) {
  ConnectReady();
  port.Feed("FACTORY_RESET:reboot~LANGUAGE:zh_CN~IP:ok~NETWORK_TYPE:2G~");
  ASSERT_TRUE(Pump([&] { return window.ComboGetCurSel(IDC_NETWORK_TYPE) == 0; }));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.Writes().back(), "COM:close~");
  EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Connect");
  EXPECT_EQ(window.ComboGetCurSel(IDC_LANGUAGE), 1);
  EXPECT_TRUE(Shown("Update IP OK"));
  // Handled after the close: they must not bring the closed link's buttons back.
  for (const int id : {IDC_UPDATE_IP, IDC_SET_LANGUAGE, IDC_SET_NETWORK, IDC_FACTORY_RESET})
    EXPECT_FALSE(window.IsWindowEnabled(id)) << id;

  // The receiver let go of the closed link: a new one starts and answers.
  ConnectReady();
  EXPECT_TRUE(window.IsWindowEnabled(IDC_FACTORY_RESET));
}

TEST_F(ThreadedSettings, factoryResetWhileAReplyBoxOfTheSamePieceIsOpenDoesNotHang) {
  ConnectReady();
  window.SetMessageBoxHook([&](const std::string&) {
    for (int i = 0; i < 20; ++i) {
      window.RunPosted();
      std::this_thread::sleep_for(1ms);
    }
  });
  port.Feed("APN:ok~FACTORY_RESET:~APN_RESET:fail~");
  ASSERT_TRUE(Pump([&] { return Shown("Clear APN fail"); }));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(window.MessageBoxes(), (std::vector<std::string>{"Update APN OK", "Clear APN fail"}));
  dlg->OnDestroy();
  dlg.reset();
}

}  // namespace
}  // namespace tolvane::testing
