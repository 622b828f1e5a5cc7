#include "link/Framing.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

void CMirlSettingsDlg::QueueCommand(const std::string& text) { m_link.Queue(text + kTerminator); }

void CMirlSettingsDlg::SendCommand(ECommand command, const std::string& text, bool bAwaitsAnswer) {
  QueueCommand(text);
  m_awaiting.set(static_cast<std::size_t>(command), bAwaitsAnswer);
  TellOutcome(command, EOutcome::Sent, text + kTerminator);
}

void CMirlSettingsDlg::TellOutcome(ECommand command, EOutcome outcome, const std::string& text) {
  if (m_pCommandObserver) m_pCommandObserver->OnCommandOutcome({command, outcome, text});
}

void CMirlSettingsDlg::Settle(ECommand command, EOutcome outcome, const std::string& text) {
  if (!IsAwaiting(command)) return;
  m_awaiting.reset(static_cast<std::size_t>(command));
  TellOutcome(command, outcome, text);
}

void CMirlSettingsDlg::ShowSettled(ECommand command, EOutcome outcome, int stringId) {
  const std::string text = LoadString(stringId);
  // Told before the box: a box may hold the window's thread, and the link may close meanwhile.
  Settle(command, outcome, text);
  ShowMessage(text);
}

void CMirlSettingsDlg::SettleReply(ECommand command, const std::string& value, int okText, int failText) {
  if (value == "ok")
    ShowSettled(command, EOutcome::Ok, okText);
  else if (value == "fail")
    ShowSettled(command, EOutcome::Fail, failText);
  else
    Settle(command, EOutcome::Other, value);
}

void CMirlSettingsDlg::SettleOnClose() {
  for (std::size_t index = 0; index < kCommandCount; ++index)
    if (m_awaiting.test(index)) Settle(static_cast<ECommand>(index), EOutcome::LinkClosed);
  TellOutcome(ECommand::ClosePort, EOutcome::LinkClosed);
}

void CMirlSettingsDlg::Refuse(ECommand command, const std::string& message) {
  TellOutcome(command, EOutcome::Refused, message);
  ShowMessage(message);
}

bool CMirlSettingsDlg::RefuseTerminator(ECommand command, std::initializer_list<std::string_view> fieldTexts) {
  for (const std::string_view text : fieldTexts) {
    if (text.find(kTerminator) != std::string_view::npos) {
      Refuse(command, LoadString(IDS_TEXT_HAS_TERMINATOR));
      return true;
    }
  }
  return false;
}

void CMirlSettingsDlg::OnReplyTimeout(int timerId, ECommand command, int firstButton, int secondButton) {
  m_window.KillTimer(timerId);
  ShowSettled(command, EOutcome::NoResponse, IDS_NO_RESPONSE);
  // The link may have closed while the box was open.
  if (!MayEnableDeviceButtons()) return;
  m_window.EnableWindow(firstButton, true);
  if (secondButton != 0) m_window.EnableWindow(secondButton, true);
}

}  // namespace tolvane
