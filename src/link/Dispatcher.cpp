#include "link/Framing.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CMirlSettingsDlg::HandleDeviceMessage(const std::string& message) {
  std::string key, value;
  if (SplitAt(message, kKeySeparator, key, value) < 0) return;

  if (key == "IMEI") {
    if (value == "ok")
      ShowMessage(LoadString(IDS_WRITE_IMEI_OK));
    else if (value == "fail")
      ShowMessage(LoadString(IDS_WRITE_IMEI_FAIL));
    else
      m_editImei.SetWindowText(value);
    if (m_bDeviceReady) m_btnWriteImei.EnableWindow(true);
  } else if (key == "COM") {
    if (value == "open") {
      // Only a running link becomes ready; a message handled after its own close does not reopen it.
      if (!m_bRunning) return;
      m_bDeviceReady = true;
      EnableDeviceControls(true);
    } else {
      ClosePort();
    }
  } else if (key == "FACTORY_RESET") {
    ClosePort();
  }
}

void CMirlSettingsDlg::OnReplyTimeout(int timerId, int firstButton, int secondButton) {
  m_window.KillTimer(timerId);
  const bool bWasReady = m_bDeviceReady;
  ShowMessage(LoadString(IDS_NO_RESPONSE));
  // The link closed while the box was open: its buttons must stay disabled.
  if (bWasReady && !m_bDeviceReady) return;
  m_window.EnableWindow(firstButton, true);
  if (secondButton != 0) m_window.EnableWindow(secondButton, true);
}

void CMirlSettingsDlg::OnTimer(int id) {
  switch (id) {
    case TIMER_WIFI_CONNECT:
      m_window.KillTimer(TIMER_WIFI_CONNECT);
      if (m_bWifiConnecting && m_bWifiOn && !m_strWifiSelected.empty()) m_btnWifiConnect.EnableWindow(true);
      break;
    case TIMER_UPDATE_IP: OnReplyTimeout(id, IDC_UPDATE_IP, IDC_UPDATE_DOMAIN); break;
    case TIMER_SET_ACCOUNT: OnReplyTimeout(id, IDC_SET_ACCOUNT, 0); break;
    case TIMER_SET_APN: OnReplyTimeout(id, IDC_SET_APN, IDC_CLEAR_APN); break;
    case TIMER_UPDATE_DEALER_PW: OnReplyTimeout(id, IDC_UPDATE_DEALER_PW, 0); break;
    case TIMER_UPDATE_DOMAIN: OnReplyTimeout(id, IDC_UPDATE_DOMAIN, IDC_UPDATE_IP); break;
    case TIMER_CLEAR_APN: OnReplyTimeout(id, IDC_SET_APN, IDC_CLEAR_APN); break;
    default: break;
  }
}

}  // namespace tolvane
