#include "SettingsTestFixture.h"

namespace tolvane::testing {
namespace {

constexpr char kChinese[] = "中文简体";

using SetLanguage = SettingsTest;

TEST_F(SetLanguage, sendsTheCodeOnceForTheSameText) {
  StartReady();
  dlg->OnSetLanguage();  // "English" selected at start-up, no report yet
  EXPECT_EQ(TakeSentCommands(), Strings{"LANGUAGE:en_US~"});
  EXPECT_FALSE(Enabled(IDC_SET_LANGUAGE));
  EXPECT_FALSE(AnyReplyTimerRunning());

  dlg->HandleDeviceMessage("LANGUAGE:ok");
  EXPECT_EQ(Boxes(), Strings{"Set Language OK"});
  EXPECT_TRUE(Enabled(IDC_SET_LANGUAGE));
  dlg->OnSetLanguage();
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_TRUE(Enabled(IDC_SET_LANGUAGE));
}

TEST_F(SetLanguage, onlyExactlyEnglishIsEnUs) {
  StartReady();
  for (const char* text : {kChinese, "english", "English ", ""}) {
    Type(IDC_LANGUAGE, text);
    dlg->OnSetLanguage();
    dlg->HandleDeviceMessage("LANGUAGE:ok");
  }
  EXPECT_EQ(TakeSentCommands(), (Strings{"LANGUAGE:zh_CN~", "LANGUAGE:zh_CN~", "LANGUAGE:zh_CN~", "LANGUAGE:zh_CN~"}));
}

TEST_F(SetLanguage, refusedTextIsNotSentAgainUntilANewConnection) {
  StartReady();
  window.ComboSetCurSel(IDC_LANGUAGE, 1);
  dlg->OnSetLanguage();
  dlg->HandleDeviceMessage("LANGUAGE:fail");
  EXPECT_EQ(Boxes(), Strings{"Set Language fail"});
  dlg->OnSetLanguage();
  EXPECT_EQ(TakeSentCommands(), Strings{"LANGUAGE:zh_CN~"});

  Reconnect();
  EXPECT_EQ(Text(IDC_LANGUAGE), kChinese);  // the combo keeps its text across the reset
  dlg->OnSetLanguage();
  EXPECT_EQ(TakeSentCommands(), Strings{"LANGUAGE:zh_CN~"});
}

TEST_F(SetLanguage, reportsSelectTheItemAndBecomeTheMemo) {
  StartReady();
  dlg->HandleDeviceMessage("LANGUAGE:zh_CN");
  EXPECT_EQ(window.ComboGetCurSel(IDC_LANGUAGE), 1);
  EXPECT_EQ(Text(IDC_LANGUAGE), kChinese);
  dlg->OnSetLanguage();
  EXPECT_TRUE(TakeSentCommands().empty());

  dlg->HandleDeviceMessage("LANGUAGE:en_US");
  EXPECT_EQ(window.ComboGetCurSel(IDC_LANGUAGE), 0);
  dlg->OnSetLanguage();
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SetLanguage, anyReplyEnablesTheButtonEvenBeforeTheDeviceIsReady) {
  StartUp();
  dlg->OnConnect();
  dlg->HandleDeviceMessage("LANGUAGE:de_DE");
  EXPECT_TRUE(Enabled(IDC_SET_LANGUAGE));
  EXPECT_FALSE(Enabled(IDC_SET_NETWORK));
  EXPECT_EQ(window.ComboGetCurSel(IDC_LANGUAGE), 0);
  EXPECT_TRUE(Boxes().empty());
}

using SetNetwork = SettingsTest;

TEST_F(SetNetwork, mapsTheComboTextToOneOfThreeTypes) {
  StartReady();
  for (const char* text : {"3G/2G", "3G", "2G", "4G", "3g"}) {
    Type(IDC_NETWORK_TYPE, text);
    dlg->OnSetNetwork();
    EXPECT_FALSE(Enabled(IDC_SET_NETWORK));
    dlg->HandleDeviceMessage("NETWORK_TYPE:ok");
  }
  EXPECT_EQ(TakeSentCommands(), (Strings{"NETWORK_TYPE:3G/2G~", "NETWORK_TYPE:3G~", "NETWORK_TYPE:2G~",
                                         "NETWORK_TYPE:2G~", "NETWORK_TYPE:2G~"}));
  EXPECT_EQ(Boxes(), Strings(5, "Set network OK"));
}

TEST_F(SetNetwork, typedTextStaysTheMemoSoASecondPressSendsNothing) {
  StartReady();
  Type(IDC_NETWORK_TYPE, "4G");
  dlg->OnSetNetwork();
  dlg->HandleDeviceMessage("NETWORK_TYPE:4G");  // not a type: only enables
  EXPECT_TRUE(Enabled(IDC_SET_NETWORK));
  EXPECT_EQ(Text(IDC_NETWORK_TYPE), "4G");
  dlg->OnSetNetwork();
  EXPECT_EQ(TakeSentCommands(), Strings{"NETWORK_TYPE:2G~"});
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SetNetwork, memoOutlivesTheConnectionUntilAReportChangesIt) {
  StartReady();
  window.ComboSetCurSel(IDC_NETWORK_TYPE, 1);
  dlg->OnSetNetwork();
  dlg->HandleDeviceMessage("NETWORK_TYPE:ok");
  EXPECT_EQ(TakeSentCommands(), Strings{"NETWORK_TYPE:3G~"});
  Reconnect();
  dlg->OnSetNetwork();
  EXPECT_TRUE(TakeSentCommands().empty());

  dlg->HandleDeviceMessage("NETWORK_TYPE:2G");
  EXPECT_EQ(window.ComboGetCurSel(IDC_NETWORK_TYPE), 0);
  window.ComboSetCurSel(IDC_NETWORK_TYPE, 1);
  dlg->OnSetNetwork();
  EXPECT_EQ(TakeSentCommands(), Strings{"NETWORK_TYPE:3G~"});
}

TEST_F(SetNetwork, reportsSelectTheirItem) {
  StartReady();
  for (const auto& [type, item] : {std::pair{"2G", 0}, std::pair{"3G", 1}, std::pair{"3G/2G", 2}}) {
    window.EnableWindow(IDC_SET_NETWORK, false);
    dlg->HandleDeviceMessage(std::string("NETWORK_TYPE:") + type);
    EXPECT_EQ(window.ComboGetCurSel(IDC_NETWORK_TYPE), item);
    EXPECT_EQ(Text(IDC_NETWORK_TYPE), type);
    EXPECT_TRUE(Enabled(IDC_SET_NETWORK));
  }
  dlg->HandleDeviceMessage("NETWORK_TYPE:fail");
  EXPECT_EQ(Boxes(), Strings{"Set network fail"});
  dlg->OnSetNetwork();  // the last report was 3G/2G
  EXPECT_TRUE(TakeSentCommands().empty());
}

using DeviceOptions = SettingsTest;

TEST_F(DeviceOptions, emptyCombosWithoutAPortSendNothing) {
  StartUp({});
  dlg->OnSetLanguage();
  dlg->OnSetNetwork();
  EXPECT_TRUE(TakeSentCommands().empty());
}

TEST_F(DeviceOptions, pickingAnItemSendsNothingAndKeepsTheMemos) {
  StartReady();
  dlg->HandleDeviceMessage("NETWORK_TYPE:3G");
  window.ComboSetCurSel(IDC_NETWORK_TYPE, 0);
  dlg->OnSelchangeNetworkType();
  window.ComboSetCurSel(IDC_LANGUAGE, 1);
  dlg->OnSelchangeLanguage();
  EXPECT_EQ(window.ComboGetCurSel(IDC_NETWORK_TYPE), 0);
  EXPECT_EQ(window.ComboGetCurSel(IDC_LANGUAGE), 1);
  EXPECT_TRUE(TakeSentCommands().empty());
  window.ComboSetCurSel(IDC_NETWORK_TYPE, 1);
  dlg->OnSetNetwork();
  EXPECT_TRUE(TakeSentCommands().empty());
}

TEST_F(DeviceOptions, factoryResetSendsRebootAndWaitsWithoutATimer) {
  StartReady();
  dlg->OnFactoryReset();
  EXPECT_EQ(TakeSentCommands(), Strings{"FACTORY_RESET:reboot~"});
  EXPECT_FALSE(Enabled(IDC_FACTORY_RESET));
  EXPECT_FALSE(AnyReplyTimerRunning());
  EXPECT_TRUE(Boxes().empty());

  dlg->HandleDeviceMessage("FACTORY_RESET:fail");
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(Text(IDC_CONNECT), "Connect");
  EXPECT_FALSE(Enabled(IDC_FACTORY_RESET));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(DeviceOptions, factoryResetReplyEndsEveryWaitOfTheLink) {
  StartReady();
  window.IpSetAddress(IDC_SERVER_IP, 0x0A000001);
  Type(IDC_APN_NAME, "apn1");
  dlg->OnUpdateIp();
  dlg->OnSetApn();
  dlg->HandleDeviceMessage("FACTORY_RESET:reboot");
  EXPECT_FALSE(AnyReplyTimerRunning());
  for (const int id : kDeviceControls) EXPECT_FALSE(Enabled(id)) << id;
  window.AdvanceClock(60000);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
}  // namespace tolvane::testing
