#include <climits>

#include "RadioTestFixture.h"
#include "radios/LeadingInteger.h"

namespace tolvane::testing {
namespace {

constexpr char kHome[] = "11:22:33:44:55:66";
constexpr char kOffice[] = "3c:84:6a:01:22:9f";

class WifiPanel : public RadioTest {
 protected:
  // Wi-Fi on, with two networks listed.
  void ListTwoNetworks() {
    dlg->OnOpenWifi();
    Say("WiFi:open");
    Say(std::string("WiFi_L:Home^") + kHome + "^3");
    Say(std::string("WiFi_L:Office^") + kOffice + "^1");
    TakeSentCommands();
  }
};

TEST_F(WifiPanel, switchingGoesOffOpeningOnClosingOff) {
  StartReady();
  dlg->OnOpenWifi();  // Off -> Opening
  EXPECT_EQ(TakeSentCommands(), Commands{"WiFi:open~"});
  EXPECT_TRUE(dlg->IsWifiOn());
  EXPECT_FALSE(Enabled(IDC_WIFI_OPEN));
  EXPECT_EQ(Text(IDC_WIFI_OPEN), "Open Wi-Fi");

  Say("WiFi:open");  // Opening -> On
  EXPECT_TRUE(dlg->IsWifiOn());
  EXPECT_TRUE(Enabled(IDC_WIFI_OPEN));
  EXPECT_EQ(Text(IDC_WIFI_OPEN), "Close Wi-Fi");

  dlg->OnOpenWifi();  // On -> Closing
  EXPECT_EQ(TakeSentCommands(), Commands{"WiFi:close~"});
  EXPECT_FALSE(dlg->IsWifiOn());
  EXPECT_FALSE(Enabled(IDC_WIFI_OPEN));

  Say("WiFi:close");  // Closing -> Off
  EXPECT_FALSE(dlg->IsWifiOn());
  EXPECT_TRUE(Enabled(IDC_WIFI_OPEN));
  EXPECT_EQ(Text(IDC_WIFI_OPEN), "Open Wi-Fi");
}

TEST_F(WifiPanel, pressWithoutARunningLinkDoesNothing) {
  StartUp();
  dlg->OnOpenWifi();
  EXPECT_FALSE(dlg->IsWifiOn());
  EXPECT_TRUE(dlg->GetSendQueue().IsEmpty());
}

TEST_F(WifiPanel, replyIsAppliedInEveryStateButEnablesOnlyAReadyDevice) {
  StartUp();
  Say("WiFi:open");  // unasked, and no link at all
  EXPECT_TRUE(dlg->IsWifiOn());
  EXPECT_EQ(Text(IDC_WIFI_OPEN), "Close Wi-Fi");
  EXPECT_FALSE(Enabled(IDC_WIFI_OPEN));
}

TEST_F(WifiPanel, rowsAreTakenWhileOpeningAndOnAndDroppedWhileClosingAndOff) {
  StartReady();
  Say("WiFi_L:Home^11:22:33:44:55:66^3");  // Off
  EXPECT_EQ(Rows(IDC_WIFI_LIST), 0);

  dlg->OnOpenWifi();
  Say("WiFi_L:Home^11:22:33:44:55:66^3");  // Opening
  EXPECT_EQ(Rows(IDC_WIFI_LIST), 1);
  Say("WiFi:open");  // ends Opening: empties the list again
  EXPECT_EQ(Rows(IDC_WIFI_LIST), 0);
  Say("WiFi_L:Home^11:22:33:44:55:66^3");  // On
  EXPECT_EQ(Rows(IDC_WIFI_LIST), 1);

  dlg->OnOpenWifi();  // the press empties the list; Closing drops rows though no reply comes
  Say("WiFi_L:Home^11:22:33:44:55:66^3");
  EXPECT_EQ(Rows(IDC_WIFI_LIST), 0);
}

TEST_F(WifiPanel, rowFieldsSplitAtTheFirstTwoCarets) {
  StartReady();
  dlg->OnOpenWifi();
  Say("WiFi_L:Home^11:22:33:44:55:66^3^x");  // further "^" stay in the level
  Say("WiFi_L:a^b^c^1");                     // a name holding "^" shifts the fields
  Say("WiFi_L:Lab^aa:bb^abc");               // no digits: picture 0
  Say("WiFi_L:Far^cc:dd^ 7");                // not range-tested: passed on as it is
  Say("WiFi_L:Gone^ee:ff");                  // one "^" only: dropped
  Say("WiFi_L:NoCaret");
  ASSERT_EQ(Rows(IDC_WIFI_LIST), 4);
  EXPECT_EQ(Row(IDC_WIFI_LIST, 0), (Cells{"", "Home", kHome}));
  EXPECT_EQ(Image(IDC_WIFI_LIST, 0), 3);
  EXPECT_EQ(Row(IDC_WIFI_LIST, 1), (Cells{"", "a", "b"}));
  EXPECT_EQ(Image(IDC_WIFI_LIST, 1), 0);
  EXPECT_EQ(Image(IDC_WIFI_LIST, 2), 0);
  EXPECT_EQ(Image(IDC_WIFI_LIST, 3), 7);

  Say("WiFi_L:clean");
  EXPECT_EQ(Rows(IDC_WIFI_LIST), 0);
}

TEST_F(WifiPanel, rowsStandInOrderOfArrivalWithoutMerging) {
  StartReady();
  dlg->OnOpenWifi();
  Say("WiFi_L:Home^11:22:33:44:55:66^3");
  Say("WiFi_L:Home again^11:22:33:44:55:66^4");
  ASSERT_EQ(Rows(IDC_WIFI_LIST), 2);
  EXPECT_EQ(Row(IDC_WIFI_LIST, 1)[1], "Home again");
}

TEST_F(WifiPanel, connectedMarkIsDecidedOnceWhenTheRowIsAdded) {
  StartReady();
  dlg->OnOpenWifi();
  Say(std::string("WiFi_L:Home^") + kHome + "^3");
  Say(std::string("WiFi_N:") + kHome);
  EXPECT_EQ(Row(IDC_WIFI_LIST, 0)[0], "");  // listed before: stays unmarked
  Say(std::string("WiFi_L:Home^") + kHome + "^3");
  Say(std::string("WiFi_L:Office^") + kOffice + "^2");
  EXPECT_EQ(Row(IDC_WIFI_LIST, 1)[0], "(Connected)");
  EXPECT_EQ(Row(IDC_WIFI_LIST, 2)[0], "");
}

TEST_F(WifiPanel, currentNetworkIsStoredWhateverTheSwitchAndOtherValuesAreIgnored) {
  StartReady();
  Say("WiFi_N:aa:bb");
  EXPECT_EQ(dlg->GetWifiCurrent(), "aa:bb");
  Say("WiFi:OPEN");
  Say("WiFi:connected");
  Say("wifi:open");
  EXPECT_FALSE(dlg->IsWifiOn());
  EXPECT_EQ(Text(IDC_WIFI_OPEN), "Open Wi-Fi");
}

TEST_F(WifiPanel, clickOnARowSelectsItsAddressAndShowsItsName) {
  StartReady();
  ListTwoNetworks();
  EXPECT_FALSE(Enabled(IDC_WIFI_CONNECT));
  dlg->OnClickWifiList(-1);
  EXPECT_EQ(dlg->GetWifiSelected(), "");
  EXPECT_FALSE(Enabled(IDC_WIFI_CONNECT));

  dlg->OnClickWifiList(1);
  EXPECT_EQ(dlg->GetWifiSelected(), kOffice);
  EXPECT_EQ(Text(IDC_WIFI_NAME), "Office");
  EXPECT_TRUE(Enabled(IDC_WIFI_CONNECT));

  dlg->OnClickWifiList(2);  // beyond the rows: nothing
  EXPECT_EQ(dlg->GetWifiSelected(), kOffice);
}

TEST_F(WifiPanel, connectSendsAddressAndPasswordAndWaitsForTheReply) {
  StartReady();
  ListTwoNetworks();
  dlg->OnClickWifiList(0);
  window.SetWindowText(IDC_WIFI_PASSWORD, "s3cret^pw");
  dlg->OnConnectWifi();
  EXPECT_EQ(TakeSentCommands(), Commands{std::string("WiFi_PW:") + kHome + "^s3cret^pw~"});
  EXPECT_TRUE(dlg->IsWifiConnecting());
  EXPECT_FALSE(Enabled(IDC_WIFI_CONNECT));
  EXPECT_EQ(window.TimerInterval(TIMER_WIFI_CONNECT), 15000);

  dlg->OnClickWifiList(1);  // an outstanding join keeps the button disabled
  EXPECT_FALSE(Enabled(IDC_WIFI_CONNECT));

  Say("WiFi:connected_ok");
  EXPECT_FALSE(dlg->IsWifiConnecting());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_WIFI_CONNECT));
  EXPECT_TRUE(Enabled(IDC_WIFI_CONNECT));
  EXPECT_TRUE(window.MessageBoxes().empty());
}

TEST_F(WifiPanel, connectWithAnEmptyPasswordSendsNothingAfterTheCaret) {
  StartReady();
  ListTwoNetworks();
  dlg->OnClickWifiList(0);
  dlg->OnConnectWifi();
  EXPECT_EQ(TakeSentCommands(), Commands{std::string("WiFi_PW:") + kHome + "^~"});
}

TEST_F(WifiPanel, connectWithoutASelectionDoesNothing) {
  StartReady();
  dlg->OnConnectWifi();
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_FALSE(dlg->IsWifiConnecting());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_WIFI_CONNECT));
}

TEST_F(WifiPanel, passwordHoldingTheTerminatorIsRefusedAndNothingChanges) {
  StartReady();
  ListTwoNetworks();
  dlg->OnClickWifiList(0);
  window.SetWindowText(IDC_WIFI_PASSWORD, "pw~FACTORY_RESET:1");
  dlg->OnConnectWifi();
  EXPECT_EQ(window.MessageBoxes(), std::vector<std::string>{"The text must not contain the character ~"});
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_FALSE(dlg->IsWifiConnecting());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_WIFI_CONNECT));
  EXPECT_TRUE(Enabled(IDC_WIFI_CONNECT));
}

TEST_F(WifiPanel, failedJoinSaysSoAndKeepsSelectionAndPassword) {
  StartReady();
  ListTwoNetworks();
  dlg->OnClickWifiList(0);
  window.SetWindowText(IDC_WIFI_PASSWORD, "wrong");
  dlg->OnConnectWifi();
  Say("WiFi:connected_fail");
  EXPECT_EQ(window.MessageBoxes(), std::vector<std::string>{"Connect fail, check password,please."});
  EXPECT_EQ(dlg->GetWifiSelected(), kHome);
  EXPECT_EQ(Text(IDC_WIFI_PASSWORD), "wrong");
  EXPECT_TRUE(Enabled(IDC_WIFI_CONNECT));
  EXPECT_FALSE(window.IsTimerRunning(TIMER_WIFI_CONNECT));
}

TEST_F(WifiPanel, joinReplyAfterWifiWentOffLeavesConnectDisabled) {
  StartReady();
  ListTwoNetworks();
  dlg->OnClickWifiList(0);
  dlg->OnConnectWifi();
  Say("WiFi:close");
  Say("WiFi:connected_ok");
  EXPECT_FALSE(Enabled(IDC_WIFI_CONNECT));
}

TEST_F(WifiPanel, joinTimeoutBringsTheButtonBackSilentlyAndTheJoinStaysOutstanding) {
  StartReady();
  ListTwoNetworks();
  dlg->OnClickWifiList(0);
  dlg->OnConnectWifi();
  window.AdvanceClock(14999);
  EXPECT_FALSE(Enabled(IDC_WIFI_CONNECT));
  window.AdvanceClock(1);
  EXPECT_TRUE(Enabled(IDC_WIFI_CONNECT));
  EXPECT_TRUE(window.MessageBoxes().empty());
  EXPECT_TRUE(dlg->IsWifiConnecting());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_WIFI_CONNECT));
  // A late reply still settles it.
  Say("WiFi:connected_ok");
  EXPECT_FALSE(dlg->IsWifiConnecting());
}

TEST_F(WifiPanel, joinTimeoutAfterWifiWentOffLeavesTheButtonDisabled) {
  StartReady();
  ListTwoNetworks();
  dlg->OnClickWifiList(0);
  dlg->OnConnectWifi();
  dlg->OnOpenWifi();
  window.AdvanceClock(15000);
  EXPECT_FALSE(Enabled(IDC_WIFI_CONNECT));
}

TEST_F(WifiPanel, linkResetClearsTheListAndJoinButKeepsTheSwitchCaptionAndPassword) {
  StartReady();
  ListTwoNetworks();
  Say(std::string("WiFi_N:") + kHome);
  dlg->OnClickWifiList(0);
  window.SetWindowText(IDC_WIFI_PASSWORD, "pw");
  dlg->OnConnectWifi();

  Reconnect();
  EXPECT_EQ(Rows(IDC_WIFI_LIST), 0);
  EXPECT_EQ(Text(IDC_WIFI_NAME), "");
  EXPECT_EQ(dlg->GetWifiSelected(), "");
  EXPECT_EQ(dlg->GetWifiCurrent(), "");
  EXPECT_FALSE(dlg->IsWifiConnecting());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_WIFI_CONNECT));
  EXPECT_TRUE(dlg->IsWifiOn());
  EXPECT_EQ(Text(IDC_WIFI_OPEN), "Close Wi-Fi");
  EXPECT_EQ(Text(IDC_WIFI_PASSWORD), "pw");
  EXPECT_TRUE(Enabled(IDC_WIFI_OPEN));
  EXPECT_FALSE(Enabled(IDC_WIFI_CONNECT));  // nothing selected
}

TEST_F(WifiPanel, unansweredSwitchStaysDisabledUntilTheNextConnection) {
  StartReady();
  dlg->OnOpenWifi();
  Reconnect();
  EXPECT_TRUE(Enabled(IDC_WIFI_OPEN));
  // Still "Opening": the press now asks to close, as the flag says.
  dlg->OnOpenWifi();
  EXPECT_EQ(TakeSentCommands(), Commands{"WiFi:close~"});
}

TEST(LeadingInteger, readsAsAtoiDoesWithoutOverflowing) {
  EXPECT_EQ(ParseLeadingInteger("3"), 3);
  EXPECT_EQ(ParseLeadingInteger(" \t\n+4x"), 4);
  EXPECT_EQ(ParseLeadingInteger("-2"), -2);
  EXPECT_EQ(ParseLeadingInteger("c^1"), 0);
  EXPECT_EQ(ParseLeadingInteger(""), 0);
  EXPECT_EQ(ParseLeadingInteger("- 3"), 0);
  EXPECT_EQ(ParseLeadingInteger("2147483647"), INT_MAX);
  EXPECT_EQ(ParseLeadingInteger("-2147483648"), INT_MIN);
  EXPECT_EQ(ParseLeadingInteger("2147483648"), INT_MAX);
  EXPECT_EQ(ParseLeadingInteger("-99999999999999999999"), INT_MIN);
  EXPECT_EQ(ParseLeadingInteger("0000000000000000000004"), 4);
}

}  // namespace
}  // namespace tolvane::testing
