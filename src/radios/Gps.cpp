#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CMirlSettingsDlg::OnOpenGps() {
  if (!m_link.IsRunning()) return;
  SendCommand(ECommand::OpenGps, m_bGpsOn ? "GPS:close" : "GPS:open");
  // Flipped before the reply, so data that comes while opening is shown and that while closing dropped.
  m_bGpsOn = !m_bGpsOn;
  m_btnGpsOpen.EnableWindow(false);
  m_editGpsRaw.SetWindowText("");
  m_editGpsSatellites.SetWindowText("");
  m_editGpsStatus.SetWindowText("");
}

void CMirlSettingsDlg::OnGpsStateReply(bool on) {
  const bool bAsked = m_bGpsOn;  // flipped at the press
  m_btnGpsOpen.SetWindowText(LoadString(on ? IDS_CLOSE_GPS : IDS_OPEN_GPS));
  m_bGpsOn = on;
  m_editGpsRaw.SetWindowText("");
  m_editGpsSatellites.SetWindowText("");
  m_editGpsStatus.SetWindowText("");
  if (m_bDeviceReady) EnableAfterReply(m_btnGpsOpen);
  Settle(ECommand::OpenGps, on == bAsked ? EOutcome::Ok : EOutcome::Fail);
}

void CMirlSettingsDlg::OnGpsRaw(const std::string& text) {
  // Emptied rather than trimmed: the text already there is never rewritten, so each message costs
  // the same however long GPS runs.
  if (m_editGpsRaw.GetWindowTextLength() >= GPS_RAW_MAX) m_editGpsRaw.SetWindowText("");
  m_editGpsRaw.AppendText(text);
}

void CMirlSettingsDlg::OnGpsSatellites(const std::string& text) { m_editGpsSatellites.SetWindowText(text); }

void CMirlSettingsDlg::OnGpsStatus(const std::string& text) { m_editGpsStatus.SetWindowText(text); }

void CMirlSettingsDlg::OnGpsMessage(const std::string& value) {
  if (value == "open")
    OnGpsStateReply(true);
  else if (value == "close")
    OnGpsStateReply(false);
}

void CMirlSettingsDlg::OnGpsRawMessage(const std::string& value) {
  if (m_bGpsOn) OnGpsRaw(value);
}

void CMirlSettingsDlg::OnGpsSatellitesMessage(const std::string& value) {
  if (m_bGpsOn) OnGpsSatellites(value);
}

void CMirlSettingsDlg::OnGpsStatusMessage(const std::string& value) {
  if (m_bGpsOn) OnGpsStatus(value);
}

}  // namespace tolvane
