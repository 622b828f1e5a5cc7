#include <cstdlib>

#include "link/PortTexts.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

bool CMirlSettingsDlg::EnumSerialPorts() {
  for (const std::string& port : m_portList.ListPorts()) {
    const int index = m_cbPort.AddString(port);
    // Tells ports apart whose names say little: what the system knows about the device behind it.
    m_cbPort.SetItemTip(index, PortTip(m_portList.IdentifyPort(port)));
  }
  return m_cbPort.GetCount() > 0;
}

std::int16_t CMirlSettingsDlg::GetSelectedPort() {
  const std::string text = m_cbPort.GetWindowText();
  if (text.size() < 3) return 0;
  // atoi: optional blanks and sign, digits up to the first other character, none gives 0.
  return static_cast<std::int16_t>(std::atoi(text.c_str() + 3));
}

void CMirlSettingsDlg::OnSelchangePort() {
  m_cbPort.SetCurSel(m_cbPort.GetCurSel());
  m_nComPort = GetSelectedPort();
}

void CMirlSettingsDlg::OnConnect() {
  // Running with the port already gone: the loss is reported but not handled yet. Close, as the
  // caption says.
  if (m_comm.IsOpen() || m_link.IsRunning()) {
    ClosePort();
    return;
  }
  // A receiver waiting on the hop we are in could not be joined.
  if (m_link.IsRunningHop()) return;
  // A receiver left over from a link that closed itself may still be finishing its last piece.
  m_link.Stop();
  // Commands pressed after a close belong to no link.
  m_link.ClearSendQueue();
  m_awaiting.reset();
  m_strLinkPort = "COM" + std::to_string(m_nComPort);
  m_strLinkCaption = m_cbPort.GetWindowText();
  if (!m_comm.Open(m_nComPort, m_nInBufferSize, m_nOutBufferSize)) {
    ShowOpenFailure();
    const std::string message = m_strLinkPort + LoadString(IDS_PORT_OPEN_FAILED);
    TellOutcome(ECommand::Connect, EOutcome::Fail, message);
    ShowMessage(message);
    return;
  }
  std::string errorText;
  if (!m_comm.ApplySettings(m_strCommSettings, errorText)) {
    // Never leave a port open behind a "Connect" caption.
    m_comm.Close();
    TellOutcome(ECommand::Connect, EOutcome::Fail, errorText);
    ShowMessage(errorText);
    return;
  }
  m_btnConnect.SetWindowText(LoadString(IDS_CLOSE));
  m_reported = {};
  SendCommand(ECommand::Connect, "COM:open");
  m_link.Start();
  PausePortWatch();
  ShowLinkStatus(IDS_STATUS_WAITING);
  m_window.SetTimer(TIMER_LINK_SILENT, kLinkSilentMs);
}

void CMirlSettingsDlg::ClosePort() {
  const bool bWasOpen = m_link.IsRunning() || m_comm.IsOpen();
  m_link.Stop();
  if (m_comm.IsOpen()) {
    // The one command that is not queued: the sender has already ended.
    if (m_link.WriteNow("COM:close~")) TellOutcome(ECommand::ClosePort, EOutcome::Sent, "COM:close~");
    m_comm.Close();
  }
  m_btnConnect.SetWindowText(LoadString(IDS_CONNECT));
  EnableDeviceControls(false);
  ResetDeviceState();
  m_window.KillTimer(TIMER_LINK_SILENT);
  ShowLinkStatus(IDS_STATUS_NOT_CONNECTED);
  if (!bWasOpen) return;
  SettleOnClose();
  ArmPortWatch();
}

void CMirlSettingsDlg::OnLinkLost() {
  ClosePort();
  ShowLinkStatus(IDS_STATUS_UNPLUGGED);
}

void CMirlSettingsDlg::OnComReply(const std::string& value) {
  if (value != "open") {
    ClosePort();
    return;
  }
  // Only a running link becomes ready; a message handled after its own close does not reopen it.
  if (!m_link.IsRunning()) return;
  m_bDeviceReady = true;
  EnableDeviceControls(true);
  m_window.KillTimer(TIMER_LINK_SILENT);
  ShowLinkStatus(IDS_STATUS_READY);
  RememberLinkDevice();
  Settle(ECommand::Connect, EOutcome::Ok);
}

void CMirlSettingsDlg::EnableDeviceControls(bool bEnable) {
  m_btnBtOpen.EnableWindow(bEnable);
  m_btnGpsOpen.EnableWindow(bEnable);
  m_btnWifiOpen.EnableWindow(bEnable);
  m_btnWifiConnect.EnableWindow(bEnable && !m_strWifiSelected.empty());
  m_btnWriteImei.EnableWindow(bEnable);
  m_btnBtPair.EnableWindow(bEnable && !m_strBtSelected.empty());
  m_btnBtSearch.EnableWindow(bEnable && m_bBtOn);
  m_btnUpdateIp.EnableWindow(bEnable);
  m_btnUpdateDomain.EnableWindow(bEnable);
  m_btnSetAccount.EnableWindow(bEnable);
  m_btnSetApn.EnableWindow(bEnable);
  m_btnClearApn.EnableWindow(bEnable);
  m_btnUpdateDealerPw.EnableWindow(bEnable);
  m_btnSetLanguage.EnableWindow(bEnable);
  m_btnSetNetwork.EnableWindow(bEnable);
  m_btnFactoryReset.EnableWindow(bEnable);
}

void CMirlSettingsDlg::ResetDeviceState() {
  m_bDeviceReady = false;
  EnableDeviceControls(false);
  for (const CDeviceCommand& command : kDeviceCommands)
    if (command.replyTimer != 0) m_window.KillTimer(command.replyTimer);
  m_strLastIp.clear();
  m_ipServer.ClearAddress();
  for (CEdit* edit : {&m_editAccount, &m_editAccountPassword, &m_editApnName, &m_editApnPassword, &m_editDealerPassword,
                      &m_editGpsRaw, &m_editGpsSatellites, &m_editGpsStatus})
    edit->SetWindowText("");
  m_listWifi.DeleteAllItems();
  m_editWifiName.SetWindowText("");
  m_strWifiSelected.clear();
  m_strWifiCurrent.clear();
  m_bWifiConnecting = false;
  m_listBt.DeleteAllItems();
  m_strBtSelected.clear();
  m_bBtPairing = false;
  m_link.ClearQueues();
  m_strLanguage.clear();
}

}  // namespace tolvane
