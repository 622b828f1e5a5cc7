#include "LinkTestFixture.h"

namespace tolvane::testing {
namespace {

using Dispatcher = LinkTest;

TEST_F(Dispatcher, comOpenTwiceOnlyEnablesAgain) {
  StartUp();
  ConnectReady();
  window.EnableWindow(IDC_UPDATE_IP, false);
  dlg->HandleDeviceMessage("COM:open");
  EXPECT_TRUE(Enabled(IDC_UPDATE_IP));
  EXPECT_TRUE(port.IsOpen());
  EXPECT_TRUE(window.MessageBoxes().empty());
}

TEST_F(Dispatcher, comWithAnyOtherValueClosesTheLink) {
  for (const char* message : {"COM:close", "COM:", "COM:OPEN", "COM:open "}) {
    StartUp();
    ConnectReady();
    dlg->HandleDeviceMessage(message);
    EXPECT_FALSE(port.IsOpen()) << message;
    EXPECT_FALSE(dlg->IsDeviceReady()) << message;
    EXPECT_EQ(window.GetWindowText(IDC_CONNECT), "Connect") << message;
    dlg.reset();
  }
}

TEST_F(Dispatcher, factoryResetWithAnyValueClosesTheLink) {
  for (const char* message : {"FACTORY_RESET:", "FACTORY_RESET:ok", "FACTORY_RESET:reboot"}) {
    StartUp();
    ConnectReady();
    dlg->HandleDeviceMessage(message);
    EXPECT_FALSE(port.IsOpen()) << message;
    EXPECT_EQ(port.Writes().back(), "COM:close~") << message;
    dlg.reset();
  }
}

TEST_F(Dispatcher, unknownKeysOtherCasesAndMessagesWithoutColonAreIgnored) {
  StartUp();
  ConnectReady();
  for (const char* message : {"com:close", "Com:close", "COM", "", "factory_reset:1", "NOPE:1", ":close"})
    dlg->HandleDeviceMessage(message);
  EXPECT_TRUE(port.IsOpen());
  EXPECT_TRUE(dlg->IsDeviceReady());
  EXPECT_TRUE(window.MessageBoxes().empty());
}

struct TimeoutCase {
  int timer;
  int interval;
  std::vector<int> buttons;
};

class ReplyTimers : public LinkTest, public ::testing::WithParamInterface<TimeoutCase> {};

TEST_P(ReplyTimers, expiryStopsTheTimerWarnsOnceAndReenablesItsButtons) {
  const TimeoutCase& c = GetParam();
  StartUp();
  ConnectReady();
  for (const int id : c.buttons) window.EnableWindow(id, false);
  window.SetTimer(c.timer, c.interval);

  window.AdvanceClock(c.interval - 1);
  EXPECT_TRUE(window.MessageBoxes().empty());
  for (const int id : c.buttons) EXPECT_FALSE(Enabled(id));

  window.AdvanceClock(1);
  EXPECT_EQ(window.MessageBoxes(), std::vector<std::string>{"Parlo apk without response"});
  for (const int id : c.buttons) EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_FALSE(window.IsTimerRunning(c.timer));

  window.AdvanceClock(10 * c.interval);
  EXPECT_EQ(window.MessageBoxes().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(EachTimer, ReplyTimers,
                         ::testing::Values(TimeoutCase{TIMER_UPDATE_IP, 6000, {IDC_UPDATE_IP, IDC_UPDATE_DOMAIN}},
                                           TimeoutCase{TIMER_SET_ACCOUNT, 6000, {IDC_SET_ACCOUNT}},
                                           TimeoutCase{TIMER_SET_APN, 30000, {IDC_SET_APN, IDC_CLEAR_APN}},
                                           TimeoutCase{TIMER_UPDATE_DEALER_PW, 6000, {IDC_UPDATE_DEALER_PW}},
                                           TimeoutCase{TIMER_UPDATE_DOMAIN, 6000, {IDC_UPDATE_DOMAIN, IDC_UPDATE_IP}},
                                           TimeoutCase{TIMER_CLEAR_APN, 10000, {IDC_SET_APN, IDC_CLEAR_APN}}),
                         [](const ::testing::TestParamInfo<TimeoutCase>& param) {
                           return "Timer" + std::to_string(param.param.timer);
                         });

TEST_F(Dispatcher, rearmingATimerRestartsTheFullInterval) {
  StartUp();
  ConnectReady();
  window.SetTimer(TIMER_UPDATE_IP, 6000);
  window.AdvanceClock(5000);
  window.SetTimer(TIMER_UPDATE_IP, 6000);
  window.AdvanceClock(5000);
  EXPECT_TRUE(window.MessageBoxes().empty());
  window.AdvanceClock(1000);
  EXPECT_EQ(window.MessageBoxes().size(), 1u);
}

TEST_F(Dispatcher, wifiConnectExpiryIsSilentAndLeavesTheButtonAloneWithoutASelection) {
  StartUp();
  ConnectReady();
  window.SetTimer(TIMER_WIFI_CONNECT, 15000);
  window.AdvanceClock(15000);
  EXPECT_TRUE(window.MessageBoxes().empty());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_WIFI_CONNECT));
  EXPECT_FALSE(Enabled(IDC_WIFI_CONNECT));
}

TEST_F(Dispatcher, linkClosedWhileTheTimeoutBoxIsOpenKeepsButtonsDisabled) {
  StartUp();
  ConnectReady();
  window.EnableWindow(IDC_SET_APN, false);
  window.EnableWindow(IDC_CLEAR_APN, false);
  window.SetTimer(TIMER_SET_APN, 30000);
  window.SetMessageBoxHook([this](const std::string&) { dlg->HandleDeviceMessage("COM:close"); });
  window.AdvanceClock(30000);
  EXPECT_FALSE(Enabled(IDC_SET_APN));
  EXPECT_FALSE(Enabled(IDC_CLEAR_APN));
}

TEST_F(Dispatcher, timeoutWithoutAnyLinkSaysSoButEnablesNothing) {
  StartUp({});
  window.EnableWindow(IDC_UPDATE_IP, false);
  window.EnableWindow(IDC_UPDATE_DOMAIN, false);
  window.SetTimer(TIMER_UPDATE_IP, 6000);
  window.AdvanceClock(6000);
  EXPECT_EQ(window.MessageBoxes(), std::vector<std::string>{"Parlo apk without response"});
  EXPECT_FALSE(Enabled(IDC_UPDATE_IP));
  EXPECT_FALSE(Enabled(IDC_UPDATE_DOMAIN));
}

TEST_F(Dispatcher, comOpenAfterTheLinkClosedDoesNotMakeItReady) {
  StartUp();
  ConnectReady();
  dlg->HandleDeviceMessage("COM:close");
  dlg->HandleDeviceMessage("COM:open");
  EXPECT_FALSE(dlg->IsDeviceReady());
  EXPECT_FALSE(Enabled(IDC_UPDATE_IP));
}

TEST_F(Dispatcher, unknownTimerIdsAreOnlyPassedOn) {
  StartUp();
  ConnectReady();
  dlg->OnTimer(99);
  dlg->OnTimer(107);
  EXPECT_TRUE(window.MessageBoxes().empty());
}

TEST_F(Dispatcher, closeStopsEveryReplyTimer) {
  StartUp();
  ConnectReady();
  for (int timer = TIMER_WIFI_CONNECT; timer <= TIMER_CLEAR_APN; ++timer) window.SetTimer(timer, 1000);
  dlg->OnConnect();
  window.AdvanceClock(60000);
  EXPECT_TRUE(window.MessageBoxes().empty());
}

using ImeiReply = LinkTest;

TEST_F(ImeiReply, okAndFailShowTheirMessagesAndReenableWriteImeiWhenReady) {
  StartUp();
  ConnectReady();
  window.EnableWindow(IDC_WRITE_IMEI, false);
  dlg->HandleDeviceMessage("IMEI:ok");
  EXPECT_TRUE(Enabled(IDC_WRITE_IMEI));
  window.EnableWindow(IDC_WRITE_IMEI, false);
  dlg->HandleDeviceMessage("IMEI:fail");
  EXPECT_TRUE(Enabled(IDC_WRITE_IMEI));
  EXPECT_EQ(window.MessageBoxes(),
            (std::vector<std::string>{"Write IMEI OK, Restart the device to be effective!", "Write IMEI fail"}));
}

TEST_F(ImeiReply, anyOtherValueIsTheDevicesImei) {
  StartUp();
  dlg->HandleDeviceMessage("IMEI:356938035643809");
  EXPECT_EQ(window.GetWindowText(IDC_IMEI), "356938035643809");
  EXPECT_FALSE(Enabled(IDC_WRITE_IMEI));  // not ready: stays as it was
  EXPECT_TRUE(window.MessageBoxes().empty());
}

}  // namespace
}  // namespace tolvane::testing
