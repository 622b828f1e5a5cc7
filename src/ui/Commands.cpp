#include "link/Framing.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CMirlSettingsDlg::QueueCommand(const std::string& text) {
  std::string command = text + kTerminator;
  if (m_onCommandQueued) m_onCommandQueued(command);
  m_link.Queue(std::move(command));
}

bool CMirlSettingsDlg::RefuseTerminator(std::initializer_list<std::string_view> fieldTexts) {
  for (const std::string_view text : fieldTexts) {
    if (text.find(kTerminator) != std::string_view::npos) {
      ShowMessage(LoadString(IDS_TEXT_HAS_TERMINATOR));
      return true;
    }
  }
  return false;
}

void CMirlSettingsDlg::OnReplyTimeout(int timerId, int firstButton, int secondButton) {
  m_window.KillTimer(timerId);
  ShowMessage(LoadString(IDS_NO_RESPONSE));
  // The link may have closed while the box was open.
  if (!MayEnableDeviceButtons()) return;
  m_window.EnableWindow(firstButton, true);
  if (secondButton != 0) m_window.EnableWindow(secondButton, true);
}

}  // namespace tolvane
