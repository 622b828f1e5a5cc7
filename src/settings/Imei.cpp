#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {
constexpr int kImeiLength = 15;
}

void CMirlSettingsDlg::OnWriteImei() {
  const std::string imei = m_editImei.GetWindowText();
  if (RefuseTerminator(ECommand::WriteImei, {imei})) return;
  // Counts characters only: a 15-character report of the device's own is sent back as it is.
  if (m_editImei.GetWindowTextLength() != kImeiLength) {
    Refuse(ECommand::WriteImei, LoadString(IDS_IMEI_LENGTH_ERROR));
    return;
  }
  SendCommand(ECommand::WriteImei, "IMEI:" + imei);
  m_btnWriteImei.EnableWindow(false);
}

void CMirlSettingsDlg::OnImeiReply(const std::string& value) {
  if (value == "ok") {
    ShowSettled(ECommand::WriteImei, EOutcome::Ok, IDS_WRITE_IMEI_OK);
  } else if (value == "fail") {
    ShowSettled(ECommand::WriteImei, EOutcome::Fail, IDS_WRITE_IMEI_FAIL);
  } else {
    // The device's own IMEI: a report, not an answer.
    m_editImei.SetWindowText(value);
    m_reported.imei = value;
  }
  if (m_bDeviceReady) EnableAfterReply(m_btnWriteImei);
}

}  // namespace tolvane
