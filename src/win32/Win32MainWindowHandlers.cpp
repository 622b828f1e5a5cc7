// Which control notification goes to which handler of the logic.
#include "ui/MirlSettingsDlg.h"
#include "win32/Win32MainWindow.h"

namespace tolvane::win32 {
namespace {

using Handler = void (CMirlSettingsDlg::*)();
using RowHandler = void (CMirlSettingsDlg::*)(int row);

struct CCommandRoute {
  int id;
  Handler handler;
};

struct CListRoute {
  int id;
  RowHandler handler;
};

// A button clicked.
constexpr CCommandRoute kButtonRoutes[] = {
    {IDC_CONNECT, &CMirlSettingsDlg::OnConnect},
    // Radio panels.
    {IDC_WIFI_OPEN, &CMirlSettingsDlg::OnOpenWifi},
    {IDC_WIFI_CONNECT, &CMirlSettingsDlg::OnConnectWifi},
    {IDC_BT_OPEN, &CMirlSettingsDlg::OnOpenBt},
    {IDC_BT_SEARCH, &CMirlSettingsDlg::OnSearchBt},
    {IDC_BT_PAIR, &CMirlSettingsDlg::OnPairBt},
    {IDC_GPS_OPEN, &CMirlSettingsDlg::OnOpenGps},
    // Configuration commands.
    {IDC_WRITE_IMEI, &CMirlSettingsDlg::OnWriteImei},
    {IDC_UPDATE_IP, &CMirlSettingsDlg::OnUpdateIp},
    {IDC_UPDATE_DOMAIN, &CMirlSettingsDlg::OnUpdateDomain},
    {IDC_SET_ACCOUNT, &CMirlSettingsDlg::OnSetAccount},
    {IDC_UPDATE_DEALER_PW, &CMirlSettingsDlg::OnUpdateDealerPw},
    {IDC_SET_APN, &CMirlSettingsDlg::OnSetApn},
    {IDC_CLEAR_APN, &CMirlSettingsDlg::OnClearApn},
    {IDC_SET_LANGUAGE, &CMirlSettingsDlg::OnSetLanguage},
    {IDC_SET_NETWORK, &CMirlSettingsDlg::OnSetNetwork},
    {IDC_FACTORY_RESET, &CMirlSettingsDlg::OnFactoryReset},
};

// The user chose another item of a combo box (with the mouse or the arrow keys); a selection that
// the logic sets does not notify.
constexpr CCommandRoute kSelectionRoutes[] = {
    {IDC_PORT, &CMirlSettingsDlg::OnSelchangePort},
    {IDC_LANGUAGE, &CMirlSettingsDlg::OnSelchangeLanguage},
    {IDC_NETWORK_TYPE, &CMirlSettingsDlg::OnSelchangeNetworkType},
};

// A combo box's list is about to open.
constexpr CCommandRoute kDropdownRoutes[] = {
    {IDC_PORT, &CMirlSettingsDlg::OnDropdownPort},
};

// A mouse click in a list, with the row hit (-1 when it hits none). The keyboard moving the
// highlight chooses nothing.
constexpr CListRoute kListClickRoutes[] = {
    {IDC_WIFI_LIST, &CMirlSettingsDlg::OnClickWifiList},
    {IDC_BT_LIST, &CMirlSettingsDlg::OnClickBtList},
};

}  // namespace

bool CWin32MainWindow::RouteCommand(int id, int notifyCode) {
  if (!m_pDialog) return false;
  const auto route = [&](const auto& routes) {
    for (const CCommandRoute& entry : routes) {
      if (entry.id != id) continue;
      (m_pDialog->*entry.handler)();
      return true;
    }
    return false;
  };
  switch (notifyCode) {
    case BN_CLICKED: return route(kButtonRoutes);
    case CBN_SELCHANGE: return route(kSelectionRoutes);
    case CBN_DROPDOWN: return route(kDropdownRoutes);
    default: return false;
  }
}

bool CWin32MainWindow::RouteListClick(int id, int row) {
  if (!m_pDialog) return false;
  for (const CListRoute& entry : kListClickRoutes) {
    if (entry.id != id) continue;
    (m_pDialog->*entry.handler)(row);
    return true;
  }
  return false;
}

}  // namespace tolvane::win32
