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
  if (RefuseTerminator({account, password})) return;
  // An empty password is allowed; an empty account is not.
  if (account.empty()) return;
  QueueCommand("ACCOUNT:" + account + "^" + password);
  m_window.SetTimer(TIMER_SET_ACCOUNT, kSetAccountTimeoutMs);
  m_btnSetAccount.EnableWindow(false);
}

void CMirlSettingsDlg::OnUpdateDealerPw() {
  const std::string password = m_editDealerPassword.GetWindowText();
  if (RefuseTerminator({password})) return;
  QueueCommand("CUSTOMER_PW:" + password);
  m_window.SetTimer(TIMER_UPDATE_DEALER_PW, kUpdateDealerPwTimeoutMs);
  m_btnUpdateDealerPw.EnableWindow(false);
}

void CMirlSettingsDlg::OnAccountReply(const std::string& value) {
  m_window.KillTimer(TIMER_SET_ACCOUNT);
  EnableAfterReply(m_btnSetAccount);
  if (value == "ok")
    ShowMessage(LoadString(IDS_SET_ACCOUNT_OK));
  else if (value == "fail")
    ShowMessage(LoadString(IDS_SET_ACCOUNT_FAIL));
}

void CMirlSettingsDlg::OnDealerPwReply(const std::string& value) {
  m_window.KillTimer(TIMER_UPDATE_DEALER_PW);
  EnableAfterReply(m_btnUpdateDealerPw);
  if (value == "ok")
    ShowMessage(LoadString(IDS_DEALER_PW_OK));
  else if (value == "fail")
    ShowMessage(LoadString(IDS_DEALER_PW_FAIL));
}

}  // namespace tolvane
