// What the user sees of the link beyond the dialog's template behaviour: the status strip, and a
// port list that follows the hardware while the link is closed.
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CMirlSettingsDlg::ShowLinkStatus(int stringId) {
  // Waiting names the whole entry, so the user can tell which device was picked.
  const std::string& port = stringId == IDS_STATUS_WAITING ? m_strLinkCaption : m_strLinkPort;
  m_window.SetStatusText(FormatString(LoadString(stringId), port));
}

void CMirlSettingsDlg::OnLinkSilent() {
  m_window.KillTimer(TIMER_LINK_SILENT);
  if (m_bRunning && !m_bDeviceReady) ShowLinkStatus(IDS_STATUS_NO_ANSWER);
}

void CMirlSettingsDlg::SelectPreferredPort() {
  const std::string preferred = m_portList.PreferredPort();
  if (preferred.empty()) return;
  for (int index = 0; index < m_cbPort.GetCount(); ++index) {
    m_cbPort.SetCurSel(index);
    if (m_cbPort.GetWindowText() == preferred) return;
  }
  m_cbPort.SetCurSel(0);
}

void CMirlSettingsDlg::OnDropdownPort() {
  // The open link's port stays what it is; the list follows the hardware only while closed.
  if (m_bRunning || m_comm.IsOpen()) return;
  const std::string chosen = m_cbPort.GetWindowText();
  m_cbPort.ResetContent();
  if (!EnumSerialPorts()) {
    m_nComPort = 0;
    return;
  }
  // A device plugged in after a start-up that found none: start-up can now finish.
  if (!m_bPortControlsReady) {
    InitPortDependentControls();
    return;
  }
  m_cbPort.SetCurSel(0);
  bool found = false;
  for (int index = 0; index < m_cbPort.GetCount() && !found; ++index) {
    m_cbPort.SetCurSel(index);
    found = m_cbPort.GetWindowText() == chosen;
  }
  if (!found) {
    m_cbPort.SetCurSel(0);
    SelectPreferredPort();
  }
  m_nComPort = GetSelectedPort();
}

}  // namespace tolvane
