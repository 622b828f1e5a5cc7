#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CMirlSettingsDlg::OnImeiReply(const std::string& value) {
  if (value == "ok")
    ShowMessage(LoadString(IDS_WRITE_IMEI_OK));
  else if (value == "fail")
    ShowMessage(LoadString(IDS_WRITE_IMEI_FAIL));
  else
    m_editImei.SetWindowText(value);
  if (m_bDeviceReady) m_btnWriteImei.EnableWindow(true);
}

}  // namespace tolvane
