#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {
constexpr int kSetApnTimeoutMs = 30000;
constexpr int kClearApnTimeoutMs = 10000;
}  // namespace

void CMirlSettingsDlg::OnSetApn() {
  const std::string apn = m_editApnName.GetWindowText();
  const std::string user = m_editApnUser.GetWindowText();
  const std::string password = m_editApnPassword.GetWindowText();
  if (RefuseTerminator(ECommand::SetApn, {apn, user, password})) return;
  if (apn.empty()) {
    Refuse(ECommand::SetApn, LoadString(IDS_APN_EMPTY));
    return;
  }
  SendCommand(ECommand::SetApn, "APN:" + apn + "^" + user + "@" + password);
  m_window.SetTimer(TIMER_SET_APN, kSetApnTimeoutMs);
  m_btnSetApn.EnableWindow(false);
  m_btnClearApn.EnableWindow(false);
}

void CMirlSettingsDlg::OnClearApn() {
  SendCommand(ECommand::ClearApn, "APN_RESET:");
  m_window.SetTimer(TIMER_CLEAR_APN, kClearApnTimeoutMs);
  m_btnSetApn.EnableWindow(false);
  m_btnClearApn.EnableWindow(false);
}

// Replies are not matched to requests: either one ends the pair's wait, and only its own timer stops.
void CMirlSettingsDlg::OnApnReply(const std::string& value) {
  m_window.KillTimer(TIMER_SET_APN);
  EnableAfterReply(m_btnSetApn);
  EnableAfterReply(m_btnClearApn);
  Settle(ECommand::ClearApn, EOutcome::Other, value);
  SettleReply(ECommand::SetApn, value, IDS_SET_APN_OK, IDS_SET_APN_FAIL);
}

void CMirlSettingsDlg::OnApnResetReply(const std::string& value) {
  m_window.KillTimer(TIMER_CLEAR_APN);
  EnableAfterReply(m_btnSetApn);
  EnableAfterReply(m_btnClearApn);
  Settle(ECommand::SetApn, EOutcome::Other, value);
  SettleReply(ECommand::ClearApn, value, IDS_CLEAR_APN_OK, IDS_CLEAR_APN_FAIL);
}

}  // namespace tolvane
