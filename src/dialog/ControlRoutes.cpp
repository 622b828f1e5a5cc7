// The routes from the window's controls to the dialog's handlers, for every window alike.
#include "dialog/ControlRoutes.h"

#include "ui/MirlSettingsDlg.h"

namespace tolvane {
namespace {

using D = CMirlSettingsDlg;
using E = EControlEvent;

constexpr CControlRoute kRoutes[] = {
    {IDC_CONNECT, E::Clicked, &D::OnConnect},
    {IDC_PORT, E::SelectionChanged, &D::OnSelchangePort},
    {IDC_PORT, E::DroppingDown, &D::OnDropdownPort},
    // Radio panels.
    {IDC_WIFI_OPEN, E::Clicked, &D::OnOpenWifi},
    {IDC_WIFI_CONNECT, E::Clicked, &D::OnConnectWifi},
    {IDC_WIFI_LIST, &D::OnClickWifiList},
    {IDC_BT_OPEN, E::Clicked, &D::OnOpenBt},
    {IDC_BT_SEARCH, E::Clicked, &D::OnSearchBt},
    {IDC_BT_PAIR, E::Clicked, &D::OnPairBt},
    {IDC_BT_LIST, &D::OnClickBtList},
    {IDC_GPS_OPEN, E::Clicked, &D::OnOpenGps},
    // Configuration commands.
    {IDC_WRITE_IMEI, E::Clicked, &D::OnWriteImei},
    {IDC_UPDATE_IP, E::Clicked, &D::OnUpdateIp},
    {IDC_UPDATE_DOMAIN, E::Clicked, &D::OnUpdateDomain},
    {IDC_SET_ACCOUNT, E::Clicked, &D::OnSetAccount},
    {IDC_UPDATE_DEALER_PW, E::Clicked, &D::OnUpdateDealerPw},
    {IDC_SET_APN, E::Clicked, &D::OnSetApn},
    {IDC_CLEAR_APN, E::Clicked, &D::OnClearApn},
    {IDC_SET_LANGUAGE, E::Clicked, &D::OnSetLanguage},
    {IDC_SET_NETWORK, E::Clicked, &D::OnSetNetwork},
    {IDC_FACTORY_RESET, E::Clicked, &D::OnFactoryReset},
    {IDC_LANGUAGE, E::SelectionChanged, &D::OnSelchangeLanguage},
    {IDC_NETWORK_TYPE, E::SelectionChanged, &D::OnSelchangeNetworkType},
};

}  // namespace

void CControlRoute::Run(CMirlSettingsDlg& dialog, int row) const {
  if (rowHandler)
    (dialog.*rowHandler)(row);
  else
    (dialog.*handler)();
}

std::span<const CControlRoute> ControlRoutes() { return kRoutes; }

bool RouteControlEvent(CMirlSettingsDlg& dialog, int controlId, EControlEvent event, int row) {
  for (const CControlRoute& route : kRoutes) {
    if (route.id != controlId || route.event != event) continue;
    route.Run(dialog, row);
    return true;
  }
  return false;
}

}  // namespace tolvane
