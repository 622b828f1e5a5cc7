#include "SettingsTestFixture.h"

namespace tolvane::testing {
namespace {

using WriteImei = SettingsTest;

TEST_F(WriteImei, fifteenCharactersAreSentUnchangedWithoutATimer) {
  StartReady();
  // Not all digits: a device report can put any text there, and only the length is checked.
  for (const char* imei : {"356938035643809", "35693803564380x", "中文简体中文简体中文简体中文简"}) {
    window.EnableWindow(IDC_WRITE_IMEI, true);
    Type(IDC_IMEI, imei);
    dlg->OnWriteImei();
    EXPECT_EQ(TakeSentCommands(), Strings{std::string("IMEI:") + imei + "~"});
    EXPECT_FALSE(Enabled(IDC_WRITE_IMEI));
  }
  EXPECT_FALSE(AnyReplyTimerRunning());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(WriteImei, anyOtherLengthShowsTheLengthErrorAndSendsNothing) {
  StartReady();
  for (const char* imei : {"", "35693803564380", "3569380356438091"}) {
    Type(IDC_IMEI, imei);
    dlg->OnWriteImei();
    EXPECT_TRUE(TakeSentCommands().empty()) << imei;
    EXPECT_TRUE(Enabled(IDC_WRITE_IMEI)) << imei;
  }
  EXPECT_EQ(Boxes(), Strings(3, "IMEI length error, must be 15 digits"));
}

TEST_F(WriteImei, deviceReportLongerThanFifteenIsShownWholeAndCannotBeWrittenBack) {
  StartReady();
  dlg->HandleDeviceMessage("IMEI:3569380356438091234");
  EXPECT_EQ(Text(IDC_IMEI), "3569380356438091234");
  dlg->OnWriteImei();
  EXPECT_EQ(Boxes(), Strings{"IMEI length error, must be 15 digits"});
  EXPECT_TRUE(TakeSentCommands().empty());
}

using ImeiReplies = SettingsTest;

TEST_F(ImeiReplies, answerWithoutAWriteOutstandingStillShowsAndEnables) {
  StartReady();
  window.EnableWindow(IDC_WRITE_IMEI, false);
  bool enabledWhileBoxOpen = true;
  window.SetMessageBoxHook([&](const std::string&) { enabledWhileBoxOpen = Enabled(IDC_WRITE_IMEI); });
  dlg->HandleDeviceMessage("IMEI:ok");
  EXPECT_EQ(Boxes(), Strings{"Write IMEI OK, Restart the device to be effective!"});
  EXPECT_FALSE(enabledWhileBoxOpen);  // only once the box is closed
  EXPECT_TRUE(Enabled(IDC_WRITE_IMEI));
}

TEST_F(ImeiReplies, failKeepsTheWrittenText) {
  StartReady();
  Type(IDC_IMEI, "356938035643809");
  dlg->OnWriteImei();
  dlg->HandleDeviceMessage("IMEI:fail");
  EXPECT_EQ(Boxes(), Strings{"Write IMEI fail"});
  EXPECT_EQ(Text(IDC_IMEI), "356938035643809");
  EXPECT_TRUE(Enabled(IDC_WRITE_IMEI));
}

TEST_F(ImeiReplies, otherValuesAreTheDevicesImeiEvenEmptyOrOkInCapitals) {
  StartReady();
  Type(IDC_IMEI, "356938035643809");
  dlg->HandleDeviceMessage("IMEI:");
  EXPECT_EQ(Text(IDC_IMEI), "");
  dlg->HandleDeviceMessage("IMEI:OK");
  EXPECT_EQ(Text(IDC_IMEI), "OK");
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(ImeiReplies, writingStaysDisabledUntilTheNextConnectionWhenNoAnswerComes) {
  StartReady();
  Type(IDC_IMEI, "356938035643809");
  dlg->OnWriteImei();
  window.AdvanceClock(600000);
  EXPECT_FALSE(Enabled(IDC_WRITE_IMEI));
  EXPECT_TRUE(Boxes().empty());
  Reconnect();
  EXPECT_TRUE(Enabled(IDC_WRITE_IMEI));
  EXPECT_EQ(Text(IDC_IMEI), "356938035643809");  // the reset keeps the field
}

}  // namespace
}  // namespace tolvane::testing
