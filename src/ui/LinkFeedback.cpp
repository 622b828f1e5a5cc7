// What the user sees of the link beyond the dialog's template behaviour: the status strip, and a
// port list that follows the hardware while the link is closed and finds the remembered device.
#include "link/PortTexts.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CMirlSettingsDlg::ShowLinkStatus(int stringId) {
  // Waiting names the whole entry, so the user can tell which device was picked.
  const std::string& port = stringId == IDS_STATUS_WAITING ? m_strLinkCaption : m_strLinkPort;
  m_window.SetStatusText(FormatString(LoadString(stringId), port));
}

void CMirlSettingsDlg::ShowOpenFailure() {
  m_window.SetStatusText(DescribeOpenFailure(m_comm.LastOpenFailure(), m_strLinkPort));
}

void CMirlSettingsDlg::OnLinkSilent() {
  m_window.KillTimer(TIMER_LINK_SILENT);
  if (m_link.IsRunning() && !m_bDeviceReady) ShowLinkStatus(IDS_STATUS_NO_ANSWER);
}

void CMirlSettingsDlg::SelectPreferredPort() {
  // The device that was ready last time comes before the one that merely looks likely.
  std::string preferred = m_portList.RememberedPort();
  if (preferred.empty()) preferred = m_portList.PreferredPort();
  if (preferred.empty()) return;
  for (int index = 0; index < m_cbPort.GetCount(); ++index) {
    m_cbPort.SetCurSel(index);
    if (m_cbPort.GetWindowText() == preferred) return;
  }
  m_cbPort.SetCurSel(0);
}

void CMirlSettingsDlg::OnDropdownPort() {
  // The open link's port stays what it is; the list follows the hardware only while closed.
  if (m_link.IsRunning() || m_comm.IsOpen()) return;
  RefillPortList(m_cbPort.GetWindowText());
}

void CMirlSettingsDlg::RefillPortList(std::string wanted) {
  m_cbPort.ResetContent();
  if (!EnumSerialPorts()) {
    m_nComPort = 0;
    m_bRememberedPresent = false;
    return;
  }
  const std::string remembered = m_portList.RememberedPort();
  // The remembered device has just come back: it is the one to pick.
  if (!remembered.empty() && !m_bRememberedPresent) wanted = remembered;
  m_bRememberedPresent = !remembered.empty();
  // A device plugged in after a start-up that found none: start-up can now finish.
  if (!m_bPortControlsReady) {
    InitPortDependentControls();
    return;
  }
  m_cbPort.SetCurSel(0);
  bool found = false;
  for (int index = 0; index < m_cbPort.GetCount() && !found; ++index) {
    m_cbPort.SetCurSel(index);
    found = m_cbPort.GetWindowText() == wanted;
  }
  if (!found) {
    m_cbPort.SetCurSel(0);
    SelectPreferredPort();
  }
  m_nComPort = GetSelectedPort();
}

void CMirlSettingsDlg::RememberLinkDevice() {
  m_portList.RememberPort(m_strLinkCaption);
  m_bRememberedPresent = true;
  // The watch starts when this link closes.
}

void CMirlSettingsDlg::ArmPortWatch() {
  // Without a remembered device there is nothing to look for, and start-up stays as it was.
  if (m_bPortWatchArmed || !m_portList.HasRememberedPort()) return;
  m_bPortWatchArmed = true;
  m_window.SetTimer(TIMER_PORT_WATCH, kPortWatchMs);
}

void CMirlSettingsDlg::PausePortWatch() {
  if (!m_bPortWatchArmed) return;
  m_bPortWatchArmed = false;
  m_window.KillTimer(TIMER_PORT_WATCH);
}

void CMirlSettingsDlg::OnPortWatch() {
  if (m_link.IsRunning() || m_comm.IsOpen() || m_link.IsRunningHop()) return;
  // Listing is the costly part of the window's idle time; nothing came or went, nothing to list.
  if (!m_portList.MayHaveChangedSinceListed()) return;
  m_portList.ListPorts();
  const bool present = !m_portList.RememberedPort().empty();
  // Only its arrival selects it: while it stays, the user's own choice stands.
  if (present && !m_bRememberedPresent)
    RefillPortList(m_cbPort.GetWindowText());
  else
    m_bRememberedPresent = present;
}

}  // namespace tolvane
