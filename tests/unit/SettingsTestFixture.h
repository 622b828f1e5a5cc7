#pragma once

#include <string>
#include <vector>

#include "LinkTestFixture.h"

namespace tolvane::testing {

inline constexpr char kNoResponse[] = "Parlo apk without response";
inline constexpr char kHasTerminator[] = "The text must not contain the character ~";

// A ready link whose commands stay in the send queue, where the test reads them.
class SettingsTest : public LinkTest {
 protected:
  void StartReady() {
    StartUp();
    ConnectReady();
    TakeSentCommands();  // "COM:open~"
  }

  void Type(int id, const std::string& text) { window.SetWindowText(id, text); }
  std::string Text(int id) const { return window.GetWindowText(id); }
  std::vector<std::string> Boxes() const { return window.MessageBoxes(); }
  bool AnyReplyTimerRunning() const {
    for (int timer = TIMER_WIFI_CONNECT; timer <= TIMER_CLEAR_APN; ++timer)
      if (window.IsTimerRunning(timer)) return true;
    return false;
  }
  // Close, then connect again and let the device answer.
  void Reconnect() {
    dlg->OnConnect();
    ConnectReady();
    TakeSentCommands();
  }
};

using Strings = std::vector<std::string>;

}  // namespace tolvane::testing
