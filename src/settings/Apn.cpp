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
  if (RefuseTerminator({apn, user, password})) return;
  if (apn.empty()) {
    ShowMessage(LoadString(IDS_APN_EMPTY));
    return;
  }
  QueueCommand("APN:" + apn + "^" + user + "@" + password);
  m_window.SetTimer(TIMER_SET_APN, kSetApnTimeoutMs);
  m_btnSetApn.EnableWindow(false);
  m_btnClearApn.EnableWindow(false);
}

void CMirlSettingsDlg::OnClearApn() {
  QueueCommand("APN_RESET:");
  m_window.SetTimer(TIMER_CLEAR_APN, kClearApnTimeoutMs);
  m_btnSetApn.EnableWindow(false);
  m_btnClearApn.EnableWindow(false);
}

// Replies are not matched to requests: either one ends the pair's wait, and only its own timer stops.
void CMirlSettingsDlg::OnApnReply(const std::string& value) {
  m_window.KillTimer(TIMER_SET_APN);
  EnableAfterReply(m_btnSetApn);
  EnableAfterReply(m_btnClearApn);
  if (value == "ok")
    ShowMessage(LoadString(IDS_SET_APN_OK));
  else if (value == "fail")
    ShowMessage(LoadString(IDS_SET_APN_FAIL));
}

void CMirlSettingsDlg::OnApnResetReply(const std::string& value) {
  m_window.KillTimer(TIMER_CLEAR_APN);
  EnableAfterReply(m_btnSetApn);
  EnableAfterReply(m_btnClearApn);
  if (value == "ok")
    ShowMessage(LoadString(IDS_CLEAR_APN_OK));
  else if (value == "fail")
    ShowMessage(LoadString(IDS_CLEAR_APN_FAIL));
}

}  // namespace tolvane
