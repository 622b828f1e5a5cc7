#pragma once

#include <array>
#include <cstddef>

#include "res/ControlIds.h"
#include "res/TimerIds.h"

namespace tolvane {

// What the dialog sends, named after the handler that sends it (a toggle is one kind, whichever
// way it goes).
enum class ECommand {
  Connect,    // "COM:open"
  ClosePort,  // the link's closing word, and the link gone
  WriteImei,
  UpdateIp,
  UpdateDomain,
  SetAccount,
  UpdateDealerPw,
  SetApn,
  ClearApn,
  SetLanguage,
  SetNetwork,
  FactoryReset,
  OpenWifi,
  ConnectWifi,
  OpenBt,
  SearchBt,
  PairBt,
  OpenGps,
};
inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(ECommand::OpenGps) + 1;

// Which part of a command's value is a secret, for every output that shows traffic.
enum class ESecret {
  None,
  AfterName,    // "name^secret": from the first "^"
  WholeValue,   // all of it; the device's own "ok" and "fail" stay readable
  ApnPassword,  // "name^user@secret": from the first "@" after the name
  PairingPin,   // "address^pair^secret"; the key's other words carry none
};

// Everything the dialog, the production line and the traffic masks know of one command. A new
// command is a kind above and a row here; its handlers and its control are the dialog's.
struct CDeviceCommand {
  ECommand command;
  const char* key;        // the key it goes out under
  int button;             // the button that sends it; 0 for none
  const char* name;       // what a report calls it
  ESecret secret;
  int replyTimer;         // the window's reply timer; 0 when the dialog waits without one
  int partnerButton;      // disabled beside `button` while the answer is awaited; 0 for none
  bool otherAnswerFails;  // an answer other than ok or fail ends the wait as a failure
};

// clang-format off
inline constexpr std::array<CDeviceCommand, kCommandCount> kDeviceCommands{{
    {ECommand::Connect, "COM", IDC_CONNECT, "Connect", ESecret::None, 0, 0, false},
    {ECommand::ClosePort, "COM", IDC_CONNECT, "Close", ESecret::None, 0, 0, false},
    {ECommand::WriteImei, "IMEI", IDC_WRITE_IMEI, "Write IMEI", ESecret::None, 0, 0, false},
    {ECommand::UpdateIp, "IP", IDC_UPDATE_IP, "Update IP", ESecret::None, TIMER_UPDATE_IP, IDC_UPDATE_DOMAIN, false},
    {ECommand::UpdateDomain, "HOST", IDC_UPDATE_DOMAIN, "Update Domain", ESecret::None, TIMER_UPDATE_DOMAIN,
     IDC_UPDATE_IP, false},
    {ECommand::SetAccount, "ACCOUNT", IDC_SET_ACCOUNT, "Set Account/Pw", ESecret::AfterName, TIMER_SET_ACCOUNT, 0,
     true},
    {ECommand::UpdateDealerPw, "CUSTOMER_PW", IDC_UPDATE_DEALER_PW, "Update Pw", ESecret::WholeValue,
     TIMER_UPDATE_DEALER_PW, 0, true},
    {ECommand::SetApn, "APN", IDC_SET_APN, "Set APN", ESecret::ApnPassword, TIMER_SET_APN, IDC_CLEAR_APN, true},
    {ECommand::ClearApn, "APN_RESET", IDC_CLEAR_APN, "Clear APN", ESecret::None, TIMER_CLEAR_APN, IDC_SET_APN, true},
    {ECommand::SetLanguage, "LANGUAGE", IDC_SET_LANGUAGE, "Set Language", ESecret::None, 0, 0, false},
    {ECommand::SetNetwork, "NETWORK_TYPE", IDC_SET_NETWORK, "Set Network", ESecret::None, 0, 0, false},
    {ECommand::FactoryReset, "FACTORY_RESET", IDC_FACTORY_RESET, "Factory Reset", ESecret::None, 0, 0, false},
    {ECommand::OpenWifi, "WiFi", IDC_WIFI_OPEN, "Open Wi-Fi", ESecret::None, 0, 0, false},
    {ECommand::ConnectWifi, "WiFi_PW", IDC_WIFI_CONNECT, "Join Wi-Fi", ESecret::AfterName, TIMER_WIFI_CONNECT, 0,
     false},
    {ECommand::OpenBt, "BT", IDC_BT_OPEN, "Open BT", ESecret::None, 0, 0, false},
    {ECommand::SearchBt, "BT", IDC_BT_SEARCH, "Search", ESecret::None, 0, 0, false},
    {ECommand::PairBt, "BT", IDC_BT_PAIR, "Pair", ESecret::PairingPin, 0, 0, false},
    {ECommand::OpenGps, "GPS", IDC_GPS_OPEN, "Open GPS", ESecret::None, 0, 0, false},
}};
// clang-format on

// The table is read by kind: row i must be kind i.
constexpr bool DeviceCommandsInKindOrder() {
  for (std::size_t index = 0; index < kDeviceCommands.size(); ++index)
    if (static_cast<std::size_t>(kDeviceCommands[index].command) != index) return false;
  return true;
}
static_assert(DeviceCommandsInKindOrder(), "kDeviceCommands must list every command, in the order of ECommand");

constexpr const CDeviceCommand& DeviceCommand(ECommand command) {
  return kDeviceCommands[static_cast<std::size_t>(command)];
}

// The command whose reply timer `timerId` is; nullptr for a timer that is no command's.
constexpr const CDeviceCommand* CommandOfReplyTimer(int timerId) {
  for (const CDeviceCommand& entry : kDeviceCommands)
    if (entry.replyTimer != 0 && entry.replyTimer == timerId) return &entry;
  return nullptr;
}

}  // namespace tolvane
