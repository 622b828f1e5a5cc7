#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

namespace {
constexpr int kImeiLength = 15;
}

void CMirlSettingsDlg::OnWriteImei() {
  const std::string imei = m_editImei.GetWindowText();
  if (RefuseTerminator({imei})) return;
  // Counts characters only: a 15-character report of the device's own is sent back as it is.
  if (m_editImei.GetWindowTextLength() != kImeiLength) {
    ShowMessage(LoadString(IDS_IMEI_LENGTH_ERROR));
    return;
  }
  QueueCommand("IMEI:" + imei);
  m_btnWriteImei.EnableWindow(false);
}

void CMirlSettingsDlg::OnImeiReply(const std::string& value) {
  if (value == "ok")
    ShowMessage(LoadString(IDS_WRITE_IMEI_OK));
  else if (value == "fail")
    ShowMessage(LoadString(IDS_WRITE_IMEI_FAIL));
  else
    m_editImei.SetWindowText(value);
  if (m_bDeviceReady) EnableAfterReply(m_btnWriteImei);
}

}  // namespace tolvane
