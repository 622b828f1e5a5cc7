#include "SettingsTestFixture.h"

namespace tolvane::testing {
namespace {

constexpr std::uint32_t Address(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  return a << 24 | b << 16 | c << 8 | d;
}

using UpdateIp = SettingsTest;

TEST_F(UpdateIp, sendsTheFieldsAsDottedDecimalAndWaitsWithTheDomainButton) {
  StartReady();
  window.IpSetAddress(IDC_SERVER_IP, Address(10, 0, 0, 1));
  dlg->OnUpdateIp();
  EXPECT_EQ(TakeSentCommands(), Strings{"IP:10.0.0.1~"});
  EXPECT_EQ(window.TimerInterval(TIMER_UPDATE_IP), 6000);
  EXPECT_FALSE(Enabled(IDC_UPDATE_IP));
  EXPECT_FALSE(Enabled(IDC_UPDATE_DOMAIN));

  dlg->HandleDeviceMessage("IP:ok");
  window.IpSetAddress(IDC_SERVER_IP, Address(255, 254, 9, 0));
  dlg->OnUpdateIp();
  EXPECT_EQ(TakeSentCommands(), Strings{"IP:255.254.9.0~"});
}

TEST_F(UpdateIp, blankAddressDoesNothing) {
  StartReady();
  dlg->OnUpdateIp();
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_IP));
  EXPECT_TRUE(Enabled(IDC_UPDATE_IP));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(UpdateIp, sameAddressIsSentOnceEvenAfterAFailureOrATimeout) {
  StartReady();
  window.IpSetAddress(IDC_SERVER_IP, Address(10, 0, 0, 1));
  dlg->OnUpdateIp();
  dlg->HandleDeviceMessage("IP:fail");
  dlg->OnUpdateIp();
  EXPECT_EQ(TakeSentCommands(), Strings{"IP:10.0.0.1~"});
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_IP));
  EXPECT_TRUE(Enabled(IDC_UPDATE_IP));

  window.IpSetAddress(IDC_SERVER_IP, Address(10, 0, 0, 2));
  dlg->OnUpdateIp();
  window.AdvanceClock(6000);
  dlg->OnUpdateIp();
  EXPECT_EQ(TakeSentCommands(), Strings{"IP:10.0.0.2~"});
  EXPECT_EQ(Boxes(), (Strings{"Update IP fail", kNoResponse}));
  EXPECT_TRUE(Enabled(IDC_UPDATE_IP));
  EXPECT_TRUE(Enabled(IDC_UPDATE_DOMAIN));
}

TEST_F(UpdateIp, aNewConnectionForgetsTheLastAddress) {
  StartReady();
  window.IpSetAddress(IDC_SERVER_IP, Address(10, 0, 0, 1));
  dlg->OnUpdateIp();
  Reconnect();
  EXPECT_TRUE(window.IpIsBlank(IDC_SERVER_IP));
  window.IpSetAddress(IDC_SERVER_IP, Address(10, 0, 0, 1));
  dlg->OnUpdateIp();
  EXPECT_EQ(TakeSentCommands(), Strings{"IP:10.0.0.1~"});
}

using IpReply = SettingsTest;

TEST_F(IpReply, okAndFailStopTheWaitOfBothButtonsThenShow) {
  StartReady();
  std::vector<bool> enabledWhileBoxOpen;
  window.SetMessageBoxHook(
      [&](const std::string&) { enabledWhileBoxOpen.push_back(Enabled(IDC_UPDATE_IP) && Enabled(IDC_UPDATE_DOMAIN)); });
  for (const std::uint32_t address : {Address(10, 0, 0, 1), Address(10, 0, 0, 2)}) {
    window.IpSetAddress(IDC_SERVER_IP, address);
    dlg->OnUpdateIp();
    dlg->HandleDeviceMessage(address == Address(10, 0, 0, 1) ? "IP:ok" : "IP:fail");
    EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_IP));
  }
  EXPECT_EQ(Boxes(), (Strings{"Update IP OK", "Update IP fail"}));
  EXPECT_EQ(enabledWhileBoxOpen, (std::vector<bool>{true, true}));
  window.AdvanceClock(60000);
  EXPECT_EQ(Boxes().size(), 2u);
}

struct AddressReport {
  const char* value;
  std::uint32_t address;
};

class IpReport : public SettingsTest, public ::testing::WithParamInterface<AddressReport> {};

TEST_P(IpReport, setsTheControlFromFourAtoiParts) {
  StartReady();
  dlg->HandleDeviceMessage(std::string("IP:") + GetParam().value);
  EXPECT_FALSE(window.IpIsBlank(IDC_SERVER_IP));
  EXPECT_EQ(window.IpGetAddress(IDC_SERVER_IP), GetParam().address);
  EXPECT_TRUE(Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, IpReport,
    ::testing::Values(AddressReport{"10.1.2.3", Address(10, 1, 2, 3)}, AddressReport{"1.2.3.4.5", Address(1, 2, 3, 4)},
                      AddressReport{"300.-1. \t7.+8x", Address(44, 255, 7, 8)},
                      AddressReport{"a...", Address(0, 0, 0, 0)},
                      AddressReport{"- 1.+-2.4294967340.99999999999999999999", Address(0, 0, 44, 255)}));

TEST_F(IpReport, withFewerThanThreeDotsLeavesTheControlAsItWas) {
  StartReady();
  window.IpSetAddress(IDC_SERVER_IP, Address(9, 9, 9, 9));
  for (const char* value : {"1.2.3", "", "ok.", "OK", "10.0"}) {
    dlg->HandleDeviceMessage(std::string("IP:") + value);
    EXPECT_EQ(window.IpGetAddress(IDC_SERVER_IP), Address(9, 9, 9, 9)) << value;
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(IpReport, whileUpdateIpWaitsLeavesTheWaitAndTheLastAddressAlone) {
  StartReady();
  window.IpSetAddress(IDC_SERVER_IP, Address(10, 0, 0, 1));
  dlg->OnUpdateIp();
  dlg->HandleDeviceMessage("IP:10.1.2.3");
  EXPECT_TRUE(window.IsTimerRunning(TIMER_UPDATE_IP));
  EXPECT_FALSE(Enabled(IDC_UPDATE_IP));
  EXPECT_FALSE(Enabled(IDC_UPDATE_DOMAIN));

  dlg->HandleDeviceMessage("IP:ok");
  dlg->OnUpdateIp();  // the reported address differs from the last one sent
  dlg->HandleDeviceMessage("IP:ok");
  dlg->HandleDeviceMessage("IP:10.1.2.3");
  dlg->OnUpdateIp();  // now it is the last one sent
  EXPECT_EQ(TakeSentCommands(), (Strings{"IP:10.0.0.1~", "IP:10.1.2.3~"}));
}

using UpdateDomain = SettingsTest;

TEST_F(UpdateDomain, sendsTheTextUnchangedAndCanSendItAgainAfterTheReply) {
  StartReady();
  Type(IDC_DOMAIN, " ptt.example.org:8080^x ");
  dlg->OnUpdateDomain();
  EXPECT_EQ(TakeSentCommands(), Strings{"HOST: ptt.example.org:8080^x ~"});
  EXPECT_EQ(window.TimerInterval(TIMER_UPDATE_DOMAIN), 6000);
  EXPECT_FALSE(Enabled(IDC_UPDATE_DOMAIN));
  EXPECT_FALSE(Enabled(IDC_UPDATE_IP));

  dlg->HandleDeviceMessage("HOST:ok");
  EXPECT_EQ(Boxes(), Strings{"Update domain OK"});
  EXPECT_TRUE(Enabled(IDC_UPDATE_DOMAIN));
  EXPECT_TRUE(Enabled(IDC_UPDATE_IP));
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_DOMAIN));
  dlg->OnUpdateDomain();
  EXPECT_EQ(TakeSentCommands(), Strings{"HOST: ptt.example.org:8080^x ~"});
}

TEST_F(UpdateDomain, emptyFieldDoesNothing) {
  StartReady();
  dlg->OnUpdateDomain();
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_DOMAIN));
  EXPECT_TRUE(Enabled(IDC_UPDATE_DOMAIN));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(UpdateDomain, anyHostReplyButOkIsAFailure) {
  StartReady();
  for (const char* value : {"fail", "FAIL", "", "Ok"}) {
    Type(IDC_DOMAIN, "ptt.example.org");
    dlg->OnUpdateDomain();
    dlg->HandleDeviceMessage(std::string("HOST:") + value);
    EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_DOMAIN)) << value;
    EXPECT_TRUE(Enabled(IDC_UPDATE_DOMAIN)) << value;
    EXPECT_TRUE(Enabled(IDC_UPDATE_IP)) << value;
  }
  EXPECT_EQ(Boxes(), Strings(4, "Update domain fail"));
}

TEST_F(UpdateDomain, expiryWarnsAndBringsBothButtonsBackWithTheFieldKept) {
  StartReady();
  Type(IDC_DOMAIN, "ptt.example.org");
  dlg->OnUpdateDomain();
  window.AdvanceClock(5999);
  EXPECT_FALSE(Enabled(IDC_UPDATE_IP));
  window.AdvanceClock(1);
  EXPECT_EQ(Boxes(), Strings{kNoResponse});
  EXPECT_TRUE(Enabled(IDC_UPDATE_DOMAIN));
  EXPECT_TRUE(Enabled(IDC_UPDATE_IP));
  EXPECT_EQ(Text(IDC_DOMAIN), "ptt.example.org");
}

using ServerAddressReplies = SettingsTest;

TEST_F(ServerAddressReplies, replyBeforeTheDeviceIsReadyEnablesOnlyItsPair) {
  StartUp();
  dlg->OnConnect();  // no "COM:open" yet
  dlg->HandleDeviceMessage("IP:ok");
  EXPECT_TRUE(Enabled(IDC_UPDATE_IP));
  EXPECT_TRUE(Enabled(IDC_UPDATE_DOMAIN));
  EXPECT_FALSE(Enabled(IDC_SET_ACCOUNT));
  EXPECT_FALSE(Enabled(IDC_WRITE_IMEI));
}

TEST_F(ServerAddressReplies, replyAfterTheExpiryShowsBothMessages) {
  StartReady();
  Type(IDC_DOMAIN, "ptt.example.org");
  dlg->OnUpdateDomain();
  window.AdvanceClock(6000);
  dlg->HandleDeviceMessage("HOST:ok");
  EXPECT_EQ(Boxes(), (Strings{kNoResponse, "Update domain OK"}));
  EXPECT_TRUE(Enabled(IDC_UPDATE_DOMAIN));
}

TEST_F(ServerAddressReplies, replyWhileTheExpiryBoxIsOpenShowsBothAndEndsTheWait) {
  StartReady();
  window.IpSetAddress(IDC_SERVER_IP, Address(10, 0, 0, 1));
  dlg->OnUpdateIp();
  window.SetMessageBoxHook([this](const std::string& text) {
    if (text == kNoResponse) dlg->HandleDeviceMessage("IP:ok");
  });
  window.AdvanceClock(6000);
  EXPECT_EQ(Boxes(), (Strings{kNoResponse, "Update IP OK"}));
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_IP));
  EXPECT_TRUE(Enabled(IDC_UPDATE_IP));
  EXPECT_TRUE(Enabled(IDC_UPDATE_DOMAIN));
}

TEST_F(ServerAddressReplies, replyHandledAfterItsLinkClosedShowsButEnablesNothing) {
  StartReady();
  dlg->HandleDeviceMessage("FACTORY_RESET:reboot");
  dlg->HandleDeviceMessage("IP:ok");
  dlg->HandleDeviceMessage("HOST:fail");
  EXPECT_EQ(Boxes(), (Strings{"Update IP OK", "Update domain fail"}));
  EXPECT_FALSE(Enabled(IDC_UPDATE_IP));
  EXPECT_FALSE(Enabled(IDC_UPDATE_DOMAIN));
}

TEST_F(ServerAddressReplies, closeEndsBothWaitsClearsTheAddressAndKeepsTheDomain) {
  StartReady();
  window.IpSetAddress(IDC_SERVER_IP, Address(10, 0, 0, 1));
  Type(IDC_DOMAIN, "ptt.example.org");
  dlg->OnUpdateIp();
  dlg->OnUpdateDomain();
  dlg->OnConnect();
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_IP));
  EXPECT_FALSE(window.IsTimerRunning(TIMER_UPDATE_DOMAIN));
  EXPECT_TRUE(window.IpIsBlank(IDC_SERVER_IP));
  EXPECT_EQ(Text(IDC_DOMAIN), "ptt.example.org");
  EXPECT_FALSE(Enabled(IDC_UPDATE_IP));
  window.AdvanceClock(60000);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace tolvane::testing
