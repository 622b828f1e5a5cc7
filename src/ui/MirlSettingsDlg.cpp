#include "ui/MirlSettingsDlg.h"

#include "res/DialogTemplates.h"
#include "res/SignalPictures.h"
#include "res/Strings.h"

namespace tolvane {

CMirlSettingsDlg::CMirlSettingsDlg(IWindow& window, IPort& port, IPortList& portList)
    : m_window(window),
      m_btnWriteImei(window, IDC_WRITE_IMEI),
      m_btnUpdateIp(window, IDC_UPDATE_IP),
      m_btnBtSearch(window, IDC_BT_SEARCH),
      m_btnBtPair(window, IDC_BT_PAIR),
      m_btnBtOpen(window, IDC_BT_OPEN),
      m_btnConnect(window, IDC_CONNECT),
      m_btnGpsOpen(window, IDC_GPS_OPEN),
      m_btnWifiConnect(window, IDC_WIFI_CONNECT),
      m_btnWifiOpen(window, IDC_WIFI_OPEN),
      m_cbPort(window, IDC_PORT),
      m_editGpsRaw(window, IDC_GPS_RAW),
      m_editGpsSatellites(window, IDC_GPS_SATELLITES),
      m_editGpsStatus(window, IDC_GPS_STATUS),
      m_editImei(window, IDC_IMEI),
      m_editWifiName(window, IDC_WIFI_NAME),
      m_editWifiPassword(window, IDC_WIFI_PASSWORD),
      m_listWifi(window, IDC_WIFI_LIST),
      m_listBt(window, IDC_BT_LIST),
      m_comm(port),
      m_ipServer(window, IDC_SERVER_IP),
      m_btnSetAccount(window, IDC_SET_ACCOUNT),
      m_btnSetApn(window, IDC_SET_APN),
      m_btnUpdateDealerPw(window, IDC_UPDATE_DEALER_PW),
      m_editAccount(window, IDC_ACCOUNT),
      m_editAccountPassword(window, IDC_ACCOUNT_PASSWORD),
      m_editApnName(window, IDC_APN_NAME),
      m_editApnPassword(window, IDC_APN_PASSWORD),
      m_editDealerPassword(window, IDC_DEALER_PASSWORD),
      m_btnSetLanguage(window, IDC_SET_LANGUAGE),
      m_cbLanguage(window, IDC_LANGUAGE),
      m_btnClearApn(window, IDC_CLEAR_APN),
      m_btnUpdateDomain(window, IDC_UPDATE_DOMAIN),
      m_editApnUser(window, IDC_APN_USER),
      m_editDomain(window, IDC_DOMAIN),
      m_btnSetNetwork(window, IDC_SET_NETWORK),
      m_cbNetworkType(window, IDC_NETWORK_TYPE),
      m_editBtPin(window, IDC_BT_PIN),
      m_btnFactoryReset(window, IDC_FACTORY_RESET),
      m_portList(portList),
      m_hop(window),
      m_sleep([](std::chrono::milliseconds period) { std::this_thread::sleep_for(period); }) {
  m_comm.SetEventSink(this);
}

CMirlSettingsDlg::~CMirlSettingsDlg() {
  // The window may already have run OnDestroy; either way no worker may outlive us.
  m_bRunning = false;
  m_hop.CancelAll();
  if (m_sendThread.joinable()) m_sendThread.join();
  if (m_recvThread.joinable()) m_recvThread.join();
  m_comm.SetEventSink(nullptr);
}

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
  m_bRunning = false;
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

void CMirlSettingsDlg::OnDestroy() { ClosePort(); }

}  // namespace tolvane
