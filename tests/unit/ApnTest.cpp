#include "SettingsTestFixture.h"

namespace tolvane::testing {
namespace {

using SetApn = SettingsTest;

TEST_F(SetApn, sendsNameUserAndPasswordAndWaitsThirtySeconds) {
  StartReady();
  Type(IDC_APN_NAME, "apn1");
  dlg->OnSetApn();
  EXPECT_EQ(TakeSentCommands(), Strings{"APN:apn1^@~"});
  EXPECT_EQ(window.TimerInterval(TIMER_SET_APN), 30000);
  EXPECT_FALSE(Enabled(IDC_SET_APN));
  EXPECT_FALSE(Enabled(IDC_CLEAR_APN));

  dlg->HandleDeviceMessage("APN:ok");
  Type(IDC_APN_USER, "me@isp");
  Type(IDC_APN_PASSWORD, "p^:w");
  dlg->OnSetApn();
  EXPECT_EQ(TakeSentCommands(), Strings{"APN:apn1^me@isp@p^:w~"});
}

TEST_F(SetApn, emptyNameIsRefusedWithAMessage) {
  StartReady();
  Type(IDC_APN_USER, "user");
  Type(IDC_APN_PASSWORD, "secret");
  dlg->OnSetApn();
  EXPECT_EQ(Boxes(), Strings{"APN can not be empty"});
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_SET_APN));
  EXPECT_TRUE(Enabled(IDC_SET_APN));
  EXPECT_TRUE(Enabled(IDC_CLEAR_APN));
}

TEST_F(SetApn, noAnswerWarnsAfterThirtySecondsWithoutRepeating) {
  StartReady();
  Type(IDC_APN_NAME, "apn1");
  dlg->OnSetApn();
  TakeSentCommands();
  window.AdvanceClock(29999);
  EXPECT_TRUE(Boxes().empty());
  window.AdvanceClock(1);
  EXPECT_EQ(Boxes(), Strings{kNoResponse});
  EXPECT_TRUE(Enabled(IDC_SET_APN));
  EXPECT_TRUE(Enabled(IDC_CLEAR_APN));
  EXPECT_EQ(Text(IDC_APN_NAME), "apn1");
  EXPECT_TRUE(TakeSentCommands().empty());
}

using ClearApn = SettingsTest;

TEST_F(ClearApn, sendsAnEmptyResetAndLeavesTheFieldsAlone) {
  StartReady();
  Type(IDC_APN_NAME, "apn1");
  Type(IDC_APN_USER, "user");
  Type(IDC_APN_PASSWORD, "a~b");  // not read, so not refused
  dlg->OnClearApn();
  EXPECT_EQ(TakeSentCommands(), Strings{"APN_RESET:~"});
  EXPECT_EQ(window.TimerInterval(TIMER_CLEAR_APN), 10000);
  EXPECT_FALSE(Enabled(IDC_SET_APN));
  EXPECT_FALSE(Enabled(IDC_CLEAR_APN));
  EXPECT_EQ(Text(IDC_APN_NAME), "apn1");
  EXPECT_EQ(Text(IDC_APN_USER), "user");
  EXPECT_EQ(Text(IDC_APN_PASSWORD), "a~b");
  EXPECT_TRUE(Boxes().empty());

  window.AdvanceClock(10000);
  EXPECT_EQ(Boxes(), Strings{kNoResponse});
  EXPECT_TRUE(Enabled(IDC_SET_APN));
  EXPECT_TRUE(Enabled(IDC_CLEAR_APN));
}

struct ApnReplyCase {
  const char* message;
  int timer;
  const char* box;  // nullptr: none
};

class ApnReplies : public SettingsTest, public ::testing::WithParamInterface<ApnReplyCase> {};

TEST_P(ApnReplies, stopTheirTimerEnableThePairAndShowTheirMessage) {
  const ApnReplyCase& c = GetParam();
  StartUp();
  dlg->OnConnect();  // the pair comes back whether or not the device is ready
  window.SetTimer(c.timer, 30000);
  dlg->HandleDeviceMessage(c.message);
  EXPECT_FALSE(window.IsTimerRunning(c.timer));
  EXPECT_TRUE(Enabled(IDC_SET_APN));
  EXPECT_TRUE(Enabled(IDC_CLEAR_APN));
  EXPECT_FALSE(Enabled(IDC_UPDATE_IP));
  EXPECT_EQ(Boxes(), c.box ? Strings{c.box} : Strings{});
}

INSTANTIATE_TEST_SUITE_P(Rows, ApnReplies,
                         ::testing::Values(ApnReplyCase{"APN:ok", TIMER_SET_APN, "Update APN OK"},
                                           ApnReplyCase{"APN:fail", TIMER_SET_APN, "Update APN fail"},
                                           ApnReplyCase{"APN:Fail", TIMER_SET_APN, nullptr},
                                           ApnReplyCase{"APN_RESET:ok", TIMER_CLEAR_APN, "Clear APN OK"},
                                           ApnReplyCase{"APN_RESET:fail", TIMER_CLEAR_APN, "Clear APN fail"},
                                           ApnReplyCase{"APN_RESET:", TIMER_CLEAR_APN, nullptr}));

TEST_F(ApnReplies, areNotMatchedToRequests) {
  StartReady();
  dlg->OnClearApn();
  dlg->HandleDeviceMessage("APN:ok");
  EXPECT_TRUE(Enabled(IDC_SET_APN));
  EXPECT_TRUE(Enabled(IDC_CLEAR_APN));
  EXPECT_TRUE(window.IsTimerRunning(TIMER_CLEAR_APN));
  window.AdvanceClock(10000);
  EXPECT_EQ(Boxes(), (Strings{"Update APN OK", kNoResponse}));
}

TEST_F(ApnReplies, closeEmptiesNameAndPasswordKeepsTheUserAndEndsTheWaits) {
  StartReady();
  Type(IDC_APN_NAME, "apn1");
  Type(IDC_APN_USER, "user");
  Type(IDC_APN_PASSWORD, "secret");
  dlg->OnSetApn();
  dlg->OnClearApn();
  dlg->OnConnect();
  EXPECT_EQ(Text(IDC_APN_NAME), "");
  EXPECT_EQ(Text(IDC_APN_PASSWORD), "");
  EXPECT_EQ(Text(IDC_APN_USER), "user");
  EXPECT_FALSE(window.IsTimerRunning(TIMER_SET_APN));
  EXPECT_FALSE(window.IsTimerRunning(TIMER_CLEAR_APN));
  EXPECT_FALSE(Enabled(IDC_SET_APN));
  EXPECT_FALSE(Enabled(IDC_CLEAR_APN));
}

}  // namespace
}  // namespace tolvane::testing
