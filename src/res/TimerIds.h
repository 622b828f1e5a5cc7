#pragma once

// The dialog's window timers.
namespace tolvane {

// One-shot reply timers, named after their request.
enum TimerId : int {
  TIMER_WIFI_CONNECT = 100,
  TIMER_UPDATE_IP = 101,
  TIMER_SET_ACCOUNT = 102,
  TIMER_SET_APN = 103,
  TIMER_UPDATE_DEALER_PW = 104,
  TIMER_UPDATE_DOMAIN = 105,
  TIMER_CLEAR_APN = 106,
  // Not a reply timer: tells the user when a freshly opened link stays silent.
  TIMER_LINK_SILENT = 107,
  // Not a reply timer: looks for the remembered device while the link is closed.
  TIMER_PORT_WATCH = 108,
};

}  // namespace tolvane
