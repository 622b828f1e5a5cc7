#include "SettingsTestFixture.h"

// What the dialog tells an observer of the commands it sends: one test per kind of outcome.
namespace tolvane::testing {
namespace {

class CommandOutcomes : public SettingsTest, private ICommandObserver {
 protected:
  void Listen() { dlg->SetCommandObserver(this); }
  void StartReady() {
    StartUp();
    Listen();
    ConnectReady();
    TakeSentCommands();
    told.clear();
  }
  void Say(const std::string& message) { dlg->HandleDeviceMessage(message); }
  static std::string Line(ECommand command, EOutcome outcome, const std::string& text = {}) {
    return std::to_string(static_cast<int>(command)) + " " + std::to_string(static_cast<int>(outcome)) + " " + text;
  }
  // One line per outcome told since the last call.
  Strings Told() {
    Strings lines;
    for (const CCommandOutcome& outcome : told) lines.push_back(Line(outcome.command, outcome.outcome, outcome.text));
    told.clear();
    return lines;
  }

  std::vector<CCommandOutcome> told;

 private:
  void OnCommandOutcome(const CCommandOutcome& outcome) override { told.push_back(outcome); }
};

TEST_F(CommandOutcomes, sent_carriesTheCommandExactly_theClosingWordToo) {
  StartUp();
  Listen();
  dlg->OnConnect();
  EXPECT_EQ(Told(), Strings{Line(ECommand::Connect, EOutcome::Sent, "COM:open~")});
  Say("COM:open");
  EXPECT_EQ(Told(), Strings{Line(ECommand::Connect, EOutcome::Ok)});
  Type(IDC_APN_NAME, "cmnet");
  Type(IDC_APN_PASSWORD, "pw");
  dlg->OnSetApn();
  EXPECT_EQ(Told(), Strings{Line(ECommand::SetApn, EOutcome::Sent, "APN:cmnet^@pw~")});
  dlg->ClosePort();
  EXPECT_EQ(Told(),
            (Strings{Line(ECommand::ClosePort, EOutcome::Sent, "COM:close~"),
                     Line(ECommand::SetApn, EOutcome::LinkClosed), Line(ECommand::ClosePort, EOutcome::LinkClosed)}));
}

TEST_F(CommandOutcomes, okAndFail_carryTheMessageShown_andSettleACommandOnce) {
  StartReady();
  window.IpSetAddress(IDC_SERVER_IP, 0x0A000005);
  dlg->OnUpdateIp();
  Type(IDC_DOMAIN, "talk.example.com");
  dlg->OnUpdateDomain();
  told.clear();
  Say("IP:ok");
  Say("HOST:maybe");
  Say("IP:ok");
  EXPECT_EQ(Told(), (Strings{Line(ECommand::UpdateIp, EOutcome::Ok, Boxes()[0]),
                             Line(ECommand::UpdateDomain, EOutcome::Fail, Boxes()[1])}));
  EXPECT_EQ(Boxes().size(), 3u);

  // A radio's state report answers its toggle: ok when it is the state asked for.
  dlg->OnOpenWifi();
  told.clear();
  Say("WiFi:close");
  EXPECT_EQ(Told(), Strings{Line(ECommand::OpenWifi, EOutcome::Fail)});
}

TEST_F(CommandOutcomes, other_endsTheWaitOnAnAnswerThatIsNeitherOkNorFail) {
  StartReady();
  Type(IDC_ACCOUNT, "unit7");
  dlg->OnSetAccount();
  told.clear();
  Say("ACCOUNT:maybe");
  EXPECT_EQ(Told(), Strings{Line(ECommand::SetAccount, EOutcome::Other, "maybe")});
  // Either APN reply ends the pair's wait: the other press hears it as an answer not its own.
  dlg->OnClearApn();
  told.clear();
  Say("APN:ok");
  EXPECT_EQ(Told(), Strings{Line(ECommand::ClearApn, EOutcome::Other, "ok")});
  // A report of what the device holds is no answer.
  dlg->OnSetNetwork();
  told.clear();
  Say("NETWORK_TYPE:3G");
  EXPECT_TRUE(Told().empty());
}

TEST_F(CommandOutcomes, noResponse_whenTheWindowsTimerRunsOut_joinWifiStaysOutstanding) {
  StartReady();
  dlg->OnUpdateDealerPw();
  told.clear();
  window.AdvanceClock(6000);
  EXPECT_EQ(Told(), Strings{Line(ECommand::UpdateDealerPw, EOutcome::NoResponse, kNoResponse)});

  dlg->OnOpenWifi();
  Say("WiFi:open");
  Say("WiFi_L:Office^3c:84:6a:01:22:9f^4");
  dlg->OnClickWifiList(0);
  dlg->OnConnectWifi();
  told.clear();
  window.AdvanceClock(15000);
  Say("WiFi:connected_ok");
  EXPECT_EQ(Told(),
            (Strings{Line(ECommand::ConnectWifi, EOutcome::NoResponse), Line(ECommand::ConnectWifi, EOutcome::Ok)}));
}

TEST_F(CommandOutcomes, refused_carriesTheMessageShown_andNothingIsSent) {
  StartReady();
  Type(IDC_DOMAIN, "a~b");
  dlg->OnUpdateDomain();
  dlg->OnSetApn();
  EXPECT_EQ(Told(), (Strings{Line(ECommand::UpdateDomain, EOutcome::Refused, kHasTerminator),
                             Line(ECommand::SetApn, EOutcome::Refused, "APN can not be empty")}));
  EXPECT_TRUE(TakeSentCommands().empty());
}

TEST_F(CommandOutcomes, linkClosed_settlesEveryCommandWaiting_andAnOpenThatFailsSaysWhy) {
  StartReady();
  Type(IDC_IMEI, "860000000000001");
  dlg->OnWriteImei();
  dlg->OnClearApn();
  told.clear();
  port.Vanish();
  EXPECT_EQ(Told(),
            (Strings{Line(ECommand::WriteImei, EOutcome::LinkClosed), Line(ECommand::ClearApn, EOutcome::LinkClosed),
                     Line(ECommand::ClosePort, EOutcome::LinkClosed)}));

  port.refuseOpen = true;
  dlg->OnConnect();
  EXPECT_EQ(Told(), Strings{Line(ECommand::Connect, EOutcome::Fail, Boxes().back())});
}

TEST_F(CommandOutcomes, reportedSettings_areWhatTheDeviceSaidSinceTheLinkOpened) {
  StartReady();
  Say("IMEI:356938035643809");
  Say("IP:192.168.010.20");
  Say("LANGUAGE:zh_CN");
  Say("NETWORK_TYPE:2G");
  const CReportedSettings& reported = dlg->GetReportedSettings();
  EXPECT_EQ(reported.imei, "356938035643809");
  EXPECT_EQ(reported.serverIp, "192.168.10.20");
  EXPECT_EQ(reported.language, "zh_CN");
  EXPECT_EQ(reported.networkType, "2G");
  Reconnect();
  EXPECT_FALSE(dlg->GetReportedSettings().imei.has_value());
  EXPECT_FALSE(dlg->GetReportedSettings().language.has_value());
}

}  // namespace
}  // namespace tolvane::testing
