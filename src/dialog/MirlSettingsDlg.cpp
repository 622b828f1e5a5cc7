// The dialog assembled: its members bound to the window's controls, the port and the link.
#include "ui/MirlSettingsDlg.h"

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
      m_link(window, port, *this) {}

// The window may already have run OnDestroy; either way the link session, which goes first, lets
// no worker outlive us.
CMirlSettingsDlg::~CMirlSettingsDlg() = default;

}  // namespace tolvane
