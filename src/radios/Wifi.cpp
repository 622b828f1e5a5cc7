#include "link/Framing.h"
#include "radios/LeadingInteger.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {
constexpr int kWifiConnectTimeoutMs = 15000;
}

void CMirlSettingsDlg::OnOpenWifi() {
  if (!m_link.IsRunning()) return;
  SendCommand(ECommand::OpenWifi, m_bWifiOn ? "WiFi:close" : "WiFi:open");
  // Flipped before the reply, so rows that come while opening are taken and those while closing dropped.
  m_bWifiOn = !m_bWifiOn;
  m_listWifi.DeleteAllItems();
  m_btnWifiOpen.EnableWindow(false);
  m_btnWifiConnect.EnableWindow(false);
  m_strWifiSelected.clear();
  m_editWifiName.SetWindowText("");
}

void CMirlSettingsDlg::OnConnectWifi() {
  if (m_strWifiSelected.empty()) return;
  const std::string password = m_editWifiPassword.GetWindowText();
  if (RefuseTerminator(ECommand::ConnectWifi, {password})) return;
  SendCommand(ECommand::ConnectWifi, "WiFi_PW:" + m_strWifiSelected + kFieldSeparator + password);
  m_btnWifiConnect.EnableWindow(false);
  m_bWifiConnecting = true;
  m_window.SetTimer(TIMER_WIFI_CONNECT, kWifiConnectTimeoutMs);
}

void CMirlSettingsDlg::OnClickWifiList(int item) {
  if (item < 0 || item >= m_listWifi.GetItemCount()) return;
  m_editWifiName.SetWindowText(m_listWifi.GetItemText(item, 1));
  m_strWifiSelected = m_listWifi.GetItemText(item, 2);
  if (!m_bWifiConnecting) EnableAfterReply(m_btnWifiConnect);
}

void CMirlSettingsDlg::OnWifiStateReply(bool on) {
  const bool bAsked = m_bWifiOn;  // flipped at the press
  m_btnWifiOpen.SetWindowText(LoadString(on ? IDS_CLOSE_WIFI : IDS_OPEN_WIFI));
  // The name edit keeps its text: only the press clears it.
  m_listWifi.DeleteAllItems();
  m_strWifiSelected.clear();
  m_bWifiOn = on;
  if (m_bDeviceReady) EnableAfterReply(m_btnWifiOpen);
  EnableAfterReply(m_btnWifiConnect, on && !m_strWifiSelected.empty());
  Settle(ECommand::OpenWifi, on == bAsked ? EOutcome::Ok : EOutcome::Fail);
}

void CMirlSettingsDlg::OnWifiConnectReply(bool ok) {
  m_bWifiConnecting = false;
  m_window.KillTimer(TIMER_WIFI_CONNECT);
  EnableAfterReply(m_btnWifiConnect, m_bWifiOn && !m_strWifiSelected.empty());
  // Selection and password stay, so the user can correct the password and try again.
  if (ok)
    Settle(ECommand::ConnectWifi, EOutcome::Ok);
  else
    ShowSettled(ECommand::ConnectWifi, EOutcome::Fail, IDS_WIFI_CONNECT_FAIL);
}

void CMirlSettingsDlg::AddWifiListRow(const std::string& text) {
  if (text == "clean") {
    m_listWifi.DeleteAllItems();
    return;
  }
  // A "^" inside the name shifts the fields; further "^" stay in the level.
  std::string name, rest, address, level;
  if (SplitAt(text, kFieldSeparator, name, rest) < 0) return;
  if (SplitAt(rest, kFieldSeparator, address, level) < 0) return;
  // Decided once: a later "WiFi_N" does not mark rows already listed.
  const std::string marker = address == m_strWifiCurrent ? LoadString(IDS_WIFI_CONNECTED) : std::string();
  // The device sends the picture's index itself; the window shows none outside the pictures it has.
  const int row = m_listWifi.InsertItem(m_listWifi.GetItemCount(), marker, ParseLeadingInteger(level));
  m_listWifi.SetItemText(row, 1, name);
  m_listWifi.SetItemText(row, 2, address);
}

void CMirlSettingsDlg::OnWifiConnectTimer() {
  m_window.KillTimer(TIMER_WIFI_CONNECT);
  // Silent, and the request stays outstanding: a late reply still settles it.
  if (m_bWifiConnecting && m_bWifiOn && !m_strWifiSelected.empty()) EnableAfterReply(m_btnWifiConnect);
  if (IsAwaiting(ECommand::ConnectWifi)) TellOutcome(ECommand::ConnectWifi, EOutcome::NoResponse);
}

void CMirlSettingsDlg::OnWifiMessage(const std::string& value) {
  if (value == "open")
    OnWifiStateReply(true);
  else if (value == "close")
    OnWifiStateReply(false);
  else if (value == "connected_ok")
    OnWifiConnectReply(true);
  else if (value == "connected_fail")
    OnWifiConnectReply(false);
}

void CMirlSettingsDlg::OnWifiCurrentMessage(const std::string& value) { m_strWifiCurrent = value; }

void CMirlSettingsDlg::OnWifiListMessage(const std::string& value) {
  if (m_bWifiOn) AddWifiListRow(value);
}

}  // namespace tolvane
