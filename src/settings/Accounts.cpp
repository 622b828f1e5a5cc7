#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {
constexpr int kSetAccountTimeoutMs = 6000;
constexpr int kUpdateDealerPwTimeoutMs = 6000;
}  // namespace

void CMirlSettingsDlg::OnSetAccount() {
  const std::string account = m_editAccount.GetWindowText();
  const std::string password = m_editAccountPassword.GetWindowText();
  if (RefuseTerminator(ECommand::SetAccount, {account, password})) return;
  // An empty password is allowed; an empty account is not.
  if (account.empty()) return;
  SendCommand(ECommand::SetAccount, "ACCOUNT:" + account + "^" + password);
  m_window.SetTimer(TIMER_SET_ACCOUNT, kSetAccountTimeoutMs);
  m_btnSetAccount.EnableWindow(false);
}

void CMirlSettingsDlg::OnUpdateDealerPw() {
  const std::string password = m_editDealerPassword.GetWindowText();
  if (RefuseTerminator(ECommand::UpdateDealerPw, {password})) return;
  SendCommand(ECommand::UpdateDealerPw, "CUSTOMER_PW:" + password);
  m_window.SetTimer(TIMER_UPDATE_DEALER_PW, kUpdateDealerPwTimeoutMs);
  m_btnUpdateDealerPw.EnableWindow(false);
}

void CMirlSettingsDlg::OnAccountReply(const std::string& value) {
  m_window.KillTimer(TIMER_SET_ACCOUNT);
  EnableAfterReply(m_btnSetAccount);
  SettleReply(ECommand::SetAccount, value, IDS_SET_ACCOUNT_OK, IDS_SET_ACCOUNT_FAIL);
}

void CMirlSettingsDlg::OnDealerPwReply(const std::string& value) {
  m_window.KillTimer(TIMER_UPDATE_DEALER_PW);
  EnableAfterReply(m_btnUpdateDealerPw);
  SettleReply(ECommand::UpdateDealerPw, value, IDS_DEALER_PW_OK, IDS_DEALER_PW_FAIL);
}

}  // namespace tolvane
