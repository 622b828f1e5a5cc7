#include "SettingsTestFixture.h"

namespace tolvane::testing {
namespace {

// A "~" would end the command early and the device would run the rest as a command of its own.
struct RefusalCase {
  const char* name;
  int field;
  std::string text;
  int button;
  void (CMirlSettingsDlg::*press)();
};

class TerminatorRefusal : public SettingsTest, public ::testing::WithParamInterface<RefusalCase> {
 protected:
  // Every field filled so that the press would otherwise send.
  void FillValidFields() {
    Type(IDC_IMEI, "356938035643809");
    Type(IDC_DOMAIN, "ptt.example.org");
    Type(IDC_ACCOUNT, "unit7");
    Type(IDC_ACCOUNT_PASSWORD, "secret");
    Type(IDC_DEALER_PASSWORD, "8888");
    Type(IDC_APN_NAME, "apn1");
    Type(IDC_APN_USER, "user");
    Type(IDC_APN_PASSWORD, "secret");
  }
};

TEST_P(TerminatorRefusal, pressSendsNothingAndSaysWhy) {
  const RefusalCase& c = GetParam();
  StartReady();
  FillValidFields();
  Type(c.field, c.text);
  (dlg.get()->*c.press)();
  EXPECT_EQ(Boxes(), Strings{kHasTerminator});
  EXPECT_TRUE(TakeSentCommands().empty());
  EXPECT_FALSE(AnyReplyTimerRunning());
  EXPECT_TRUE(Enabled(c.button));
  EXPECT_EQ(Text(c.field), c.text);

  // Without the "~" the same press goes out.
  FillValidFields();
  (dlg.get()->*c.press)();
  EXPECT_EQ(TakeSentCommands().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    EachField, TerminatorRefusal,
    ::testing::Values(RefusalCase{"Imei", IDC_IMEI, "3569380356438~9", IDC_WRITE_IMEI, &CMirlSettingsDlg::OnWriteImei},
                      RefusalCase{"Domain", IDC_DOMAIN, "a~FACTORY_RESET:reboot", IDC_UPDATE_DOMAIN,
                                  &CMirlSettingsDlg::OnUpdateDomain},
                      RefusalCase{"Account", IDC_ACCOUNT, "unit7~", IDC_SET_ACCOUNT, &CMirlSettingsDlg::OnSetAccount},
                      RefusalCase{"AccountPassword", IDC_ACCOUNT_PASSWORD, "~IMEI:1", IDC_SET_ACCOUNT,
                                  &CMirlSettingsDlg::OnSetAccount},
                      RefusalCase{"DealerPassword", IDC_DEALER_PASSWORD, "~", IDC_UPDATE_DEALER_PW,
                                  &CMirlSettingsDlg::OnUpdateDealerPw},
                      RefusalCase{"Apn", IDC_APN_NAME, "apn~1", IDC_SET_APN, &CMirlSettingsDlg::OnSetApn},
                      RefusalCase{"ApnUser", IDC_APN_USER, "u~", IDC_SET_APN, &CMirlSettingsDlg::OnSetApn},
                      RefusalCase{"ApnPassword", IDC_APN_PASSWORD, "p~w", IDC_SET_APN, &CMirlSettingsDlg::OnSetApn}),
    [](const ::testing::TestParamInfo<RefusalCase>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace tolvane::testing
