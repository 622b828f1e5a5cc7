// The routes from the device's keys and from the window's timers to the dialog's handlers.
#include "link/Framing.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CMirlSettingsDlg::HandleDeviceMessage(const std::string& message) {
  // Key to handler, in the order keys are compared. What a reply means lives in its feature's file.
  using Handler = void (CMirlSettingsDlg::*)(const std::string& value);
  struct Route {
    const char* key;
    Handler handler;
  };
  static constexpr Route kRoutes[] = {
      {"IMEI", &CMirlSettingsDlg::OnImeiReply},
      // Radio panels.
      {"WiFi", &CMirlSettingsDlg::OnWifiMessage},
      {"WiFi_N", &CMirlSettingsDlg::OnWifiCurrentMessage},
      {"WiFi_L", &CMirlSettingsDlg::OnWifiListMessage},
      {"BT", &CMirlSettingsDlg::OnBtMessage},
      {"BT_P", &CMirlSettingsDlg::OnBtPairMessage},
      {"BT_L", &CMirlSettingsDlg::OnBtListMessage},
      {"GPS", &CMirlSettingsDlg::OnGpsMessage},
      {"GPS_R", &CMirlSettingsDlg::OnGpsRawMessage},
      {"GPS_ST", &CMirlSettingsDlg::OnGpsSatellitesMessage},
      {"GPS_S", &CMirlSettingsDlg::OnGpsStatusMessage},
      {"COM", &CMirlSettingsDlg::OnComReply},
      // Configuration replies.
      {"IP", &CMirlSettingsDlg::OnIpReply},
      {"HOST", &CMirlSettingsDlg::OnHostReply},
      {"ACCOUNT", &CMirlSettingsDlg::OnAccountReply},
      {"APN", &CMirlSettingsDlg::OnApnReply},
      {"APN_RESET", &CMirlSettingsDlg::OnApnResetReply},
      {"CUSTOMER_PW", &CMirlSettingsDlg::OnDealerPwReply},
      {"LANGUAGE", &CMirlSettingsDlg::OnLanguageReply},
      {"NETWORK_TYPE", &CMirlSettingsDlg::OnNetworkTypeReply},
      {"FACTORY_RESET", &CMirlSettingsDlg::OnFactoryResetReply},
  };

  std::string key, value;
  if (SplitAt(message, kKeySeparator, key, value) < 0) return;
  for (const Route& route : kRoutes) {
    if (key == route.key) {
      (this->*route.handler)(value);
      return;
    }
  }
}

void CMirlSettingsDlg::OnTimer(int id) {
  switch (id) {
    case TIMER_WIFI_CONNECT: OnWifiConnectTimer(); break;
    case TIMER_LINK_SILENT: OnLinkSilent(); break;
    case TIMER_PORT_WATCH: OnPortWatch(); break;
    default:
      if (const CDeviceCommand* command = CommandOfReplyTimer(id))
        OnReplyTimeout(id, command->command, command->button, command->partnerButton);
      break;
  }
}

}  // namespace tolvane
