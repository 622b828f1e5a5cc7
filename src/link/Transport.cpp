#include "link/Framing.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

using namespace std::chrono_literals;

void CMirlSettingsDlg::QueueCommand(const std::string& text) { m_listSend.AddHead(text + kTerminator); }

bool CMirlSettingsDlg::RefuseTerminator(std::initializer_list<std::string_view> fieldTexts) {
  for (const std::string_view text : fieldTexts) {
    if (text.find(kTerminator) != std::string_view::npos) {
      ShowMessage(LoadString(IDS_TEXT_HAS_TERMINATOR));
      return true;
    }
  }
  return false;
}

void CMirlSettingsDlg::OnComm() {
  std::string text = m_comm.ReadInput();
  if (!text.empty()) m_listRecv.AddHead(std::move(text));
}

unsigned CMirlSettingsDlg::SendThreadProc(CMirlSettingsDlg* dialog) {
  while (dialog->m_bRunning) {
    dialog->m_sleep(10ms);
    std::string command;
    if (!dialog->m_listSend.TakeTail(command)) continue;
    // A refused write is dropped without a report; the next command goes on.
    if (dialog->m_bRunning) dialog->m_comm.Write(command);
  }
  return 0;
}

unsigned CMirlSettingsDlg::RecvThreadProc(CMirlSettingsDlg* dialog) {
  SetThreadTextLanguage(GetProcessTextLanguage());
  const int generation = dialog->m_nLinkGeneration;
  CMessageCutter cutter;
  while (dialog->m_bRunning) {
    dialog->m_sleep(10ms);
    std::string piece;
    if (!dialog->m_listRecv.TakeTail(piece)) continue;
    cutter.Append(piece);
    std::string message;
    while (cutter.Next(message)) {
      const auto handle = [dialog, message] { dialog->HandleDeviceMessage(message); };
      // Dropped means the window closed this link: nothing more of it may reach the window.
      if (dialog->m_hop.Run(generation, handle) == CWindowHop::Result::Dropped) return 0;
      dialog->m_sleep(2ms);
    }
  }
  return 0;
}

}  // namespace tolvane
