#include "ui/MirlSettingsDlg.h"

#include "res/DialogTemplates.h"
#include "res/SignalPictures.h"
#include "res/Strings.h"

namespace tolvane {

bool CMirlSettingsDlg::OnInitDialog() {
  const std::string aboutMenu = LoadString(IDS_ABOUTBOX);
  if (!aboutMenu.empty()) m_window.AppendSystemMenuItem(IDM_ABOUTBOX, aboutMenu);
  InitDialogControls();
  ShowLinkStatus(IDS_STATUS_NOT_CONNECTED);
  m_bRememberedPresent = !m_portList.RememberedPort().empty();
  ArmPortWatch();
  return true;
}

void CMirlSettingsDlg::InitDialogControls() {
  m_bWifiOn = false;
  m_bBtOn = false;
  m_bGpsOn = false;
  m_editImei.SetLimitText(15);
  m_bDeviceReady = false;
  m_editWifiName.SetWindowText("");
  m_bWifiConnecting = false;
  m_strWifiSelected.clear();
  m_strWifiCurrent.clear();
  m_bBtPairing = false;
  m_strBtSelected.clear();

  if (!EnumSerialPorts()) return;
  InitPortDependentControls();
}

void CMirlSettingsDlg::InitPortDependentControls() {
  m_cbPort.SetCurSel(0);
  if (m_cbPort.GetCount() == CComboBox::CB_ERR) return;
  SelectPreferredPort();
  m_nComPort = GetSelectedPort();
  m_nInBufferSize = static_cast<std::int16_t>(m_comm.GetInBufferSize());
  m_nOutBufferSize = static_cast<std::int16_t>(m_comm.GetOutBufferSize());
  m_strCommSettings = m_comm.GetSettings();
  EnableDeviceControls(false);

  m_imgSignal.Create(kSignalPictureWidth, kSignalPictureHeight);
  for (const int bitmapId : {IDB_SIGNAL_0, IDB_SIGNAL_1, IDB_SIGNAL_2, IDB_SIGNAL_3, IDB_SIGNAL_4})
    m_imgSignal.pictures.push_back(LoadSignalBitmap(bitmapId));

  const std::string signalHeading = LoadString(IDS_COLUMN_SIGNAL);
  const std::string nameHeading = LoadString(IDS_COLUMN_NAME);
  const std::string addressHeading = LoadString(IDS_COLUMN_ADDRESS);
  m_listWifi.AddExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
  int columnWidth = m_listWifi.GetClientWidth() / 3;
  m_listWifi.InsertColumn(0, signalHeading, ColumnAlign::Center, columnWidth);
  m_listWifi.InsertColumn(1, nameHeading, ColumnAlign::Center, columnWidth);
  m_listWifi.InsertColumn(2, addressHeading, ColumnAlign::Center, columnWidth);
  m_listWifi.SetImageList(m_imgSignal);

  const std::string statusHeading = LoadString(IDS_COLUMN_STATUS);
  m_listBt.AddExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  columnWidth = m_listBt.GetClientWidth() / 3;
  m_listBt.InsertColumn(0, nameHeading, ColumnAlign::Center, columnWidth);
  m_listBt.InsertColumn(1, addressHeading, ColumnAlign::Center, columnWidth);
  m_listBt.InsertColumn(2, statusHeading, ColumnAlign::Center, columnWidth);

  m_strLastIp.clear();
  m_ipServer.ClearAddress();
  m_strLanguage.clear();
  for (const char* choice : kLanguageChoices) m_cbLanguage.AddString(choice);
  m_cbLanguage.SetCurSel(0);
  m_strNetworkType.clear();
  for (const char* choice : kNetworkTypeChoices) m_cbNetworkType.AddString(choice);
  m_cbNetworkType.SetCurSel(2);
  m_editBtPin.SetLimitText(8);
  m_bPortControlsReady = true;
}

void CMirlSettingsDlg::OnSysCommand(int commandId) {
  if ((commandId & 0xFFF0) == IDM_ABOUTBOX) m_window.RunAboutBox();
}

void CMirlSettingsDlg::OnDestroy() {
  ClosePort();
  PausePortWatch();
}

}  // namespace tolvane
