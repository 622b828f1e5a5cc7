#include "SettingsTestFixture.h"

namespace tolvane::testing {
namespace {

using SetAccount = SettingsTest;

TEST_F(SetAccount, sendsAccountAndPasswordJoinedByACaret) {
  StartReady();
  Type(IDC_ACCOUNT, "unit7");
  dlg->OnSetAccount();
  EXPECT_EQ(TakeSentCommands(), Strings{"ACCOUNT:unit7^~"});
  EXPECT_EQ(window.TimerInterval(TIMER_SET_ACCOUNT), 6000);
  EXPECT_FALSE(Enabled(IDC_SET_ACCOUNT));

  dlg->HandleDeviceMessage("ACCOUNT:ok");
  Type(IDC_ACCOUNT, "a:b^c");
  Type(IDC_ACCOUNT_PASSWORD, " p@ss^: ");
  dlg->OnSetAccount();
  EXPECT_EQ(TakeSentCommands(), Strings{"ACCOUNT:a:b^c^ p@ss^: ~"});
}

TEST_F(SetAccount, emptyAccountDoesNothingEvenWithAPassword) {
  StartReady();
  Type(IDC_ACCOUNT_PASSWORD, "secret");
  dlg->OnSetAccount();
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_SET_ACCOUNT));
  EXPECT_TRUE(Enabled(IDC_SET_ACCOUNT));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SetAccount, expiryWarnsAndBringsTheButtonBackWithTheFieldsKept) {
  StartReady();
  Type(IDC_ACCOUNT, "unit7");
  Type(IDC_ACCOUNT_PASSWORD, "secret");
  dlg->OnSetAccount();
  window.AdvanceClock(6000);
  EXPECT_EQ(Boxes(), Strings{kNoResponse});
  EXPECT_TRUE(Enabled(IDC_SET_ACCOUNT));
  EXPECT_EQ(Text(IDC_ACCOUNT), "unit7");
  EXPECT_EQ(Text(IDC_ACCOUNT_PASSWORD), "secret");
}

using UpdateDealerPw = SettingsTest;

TEST_F(UpdateDealerPw, sendsTheFieldEvenWhenEmpty) {
  StartReady();
  dlg->OnUpdateDealerPw();
  EXPECT_EQ(TakeSentCommands(), Strings{"CUSTOMER_PW:~"});
  EXPECT_EQ(window.TimerInterval(TIMER_UPDATE_DEALER_PW), 6000);
  EXPECT_FALSE(Enabled(IDC_UPDATE_DEALER_PW));
  window.AdvanceClock(6000);
  EXPECT_EQ(Boxes(), Strings{kNoResponse});
  EXPECT_TRUE(Enabled(IDC_UPDATE_DEALER_PW));

  Type(IDC_DEALER_PASSWORD, "88^:@");
  dlg->OnUpdateDealerPw();
  EXPECT_EQ(TakeSentCommands(), Strings{"CUSTOMER_PW:88^:@~"});
}

struct ReplyRow {
  const char* message;
  const char* box;  // nullptr: none
};

struct AccountReplyCase {
  int timer;
  int button;
  ReplyRow row;
};

class AccountReplies : public SettingsTest, public ::testing::WithParamInterface<AccountReplyCase> {};

TEST_P(AccountReplies, stopTheTimerEnableTheButtonAndShowTheirMessage) {
  const AccountReplyCase& c = GetParam();
  StartReady();
  window.EnableWindow(c.button, false);
  window.SetTimer(c.timer, 6000);
  dlg->HandleDeviceMessage(c.row.message);
  EXPECT_FALSE(window.IsTimerRunning(c.timer));
  EXPECT_TRUE(Enabled(c.button));
  EXPECT_EQ(Boxes(), c.row.box ? Strings{c.row.box} : Strings{});
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AccountReplies,
    ::testing::Values(
        AccountReplyCase{TIMER_SET_ACCOUNT, IDC_SET_ACCOUNT, {"ACCOUNT:ok", "Update account and password OK"}},
        AccountReplyCase{TIMER_SET_ACCOUNT, IDC_SET_ACCOUNT, {"ACCOUNT:fail", "Update account and password fail"}},
        AccountReplyCase{TIMER_SET_ACCOUNT, IDC_SET_ACCOUNT, {"ACCOUNT:OK", nullptr}},
        AccountReplyCase{TIMER_SET_ACCOUNT, IDC_SET_ACCOUNT, {"ACCOUNT:", nullptr}},
        AccountReplyCase{TIMER_UPDATE_DEALER_PW, IDC_UPDATE_DEALER_PW, {"CUSTOMER_PW:ok", "Update dealer password OK"}},
        AccountReplyCase{
            TIMER_UPDATE_DEALER_PW, IDC_UPDATE_DEALER_PW, {"CUSTOMER_PW:fail", "Update dealer password fail"}},
        AccountReplyCase{TIMER_UPDATE_DEALER_PW, IDC_UPDATE_DEALER_PW, {"CUSTOMER_PW:done", nullptr}}));

TEST_F(AccountReplies, closeEmptiesTheAccountAndBothPasswordsAndEndsTheWaits) {
  StartReady();
  Type(IDC_ACCOUNT, "unit7");
  Type(IDC_ACCOUNT_PASSWORD, "secret");
  Type(IDC_DEALER_PASSWORD, "8888");
  dlg->OnSetAccount();
  dlg->OnUpdateDealerPw();
  dlg->OnConnect();
  for (const int id : {IDC_ACCOUNT, IDC_ACCOUNT_PASSWORD, IDC_DEALER_PASSWORD}) EXPECT_EQ(Text(id), "") << id;
  EXPECT_FALSE(window.IsTimerRunning(TIMER_SET_ACCOUNT));
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_DEALER_PW));
  EXPECT_FALSE(Enabled(IDC_SET_ACCOUNT));
  EXPECT_FALSE(Enabled(IDC_UPDATE_DEALER_PW));
}

}  // namespace
}  // namespace tolvane::testing
