#include "link/Framing.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

using namespace std::chrono_literals;

void CMirlSettingsDlg::QueueCommand(const std::string& text) {
  std::string command = text + kTerminator;
  if (m_onCommandQueued) m_onCommandQueued(command);
  m_listSend.AddHead(std::move(command));
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

void CMirlSettingsDlg::OnComm() {
  std::string text = m_comm.ReadInput();
  if (!text.empty()) m_listRecv.AddHead(std::move(text));
}

void CMirlSettingsDlg::TraceWrite(const std::string& command) {
  if (CTrafficTrace* trace = m_pTrace.load(std::memory_order_acquire)) trace->Record(TraceDirection::ToDevice, command);
}

unsigned CMirlSettingsDlg::SendThreadProc(CMirlSettingsDlg* dialog) {
  while (dialog->m_bRunning) {
    dialog->m_sleep(10ms);
    std::string command;
    if (!dialog->m_listSend.TakeTail(command)) continue;
    // A refused write is dropped without a report; the next command goes on.
    if (dialog->m_bRunning && dialog->m_comm.Write(command)) dialog->TraceWrite(command);
  }
  return 0;
}

unsigned CMirlSettingsDlg::RecvThreadProc(CMirlSettingsDlg* dialog) {
  SetThreadTextLanguage(GetProcessTextLanguage());
  const int generation = dialog->m_nLinkGeneration;
  CMessageCutter cutter;
  while (dialog->m_bRunning) {
    dialog->m_sleep(10ms);
    // Every piece that has arrived since the last pass: a port that reads often hands over many
    // small pieces, and taking one a pass would cap the link at 100 pieces a second, so a steady
    // stream of short messages would pile up without end.
    std::vector<std::string> pieces;
    if (!dialog->m_listRecv.TakeAll(pieces)) continue;
    for (const std::string& piece : pieces) {
      cutter.Append(piece);
      std::string message;
      while (cutter.Next(message)) {
        if (CTrafficTrace* trace = dialog->m_pTrace.load(std::memory_order_acquire))
          trace->Record(TraceDirection::FromDevice, message);
        const auto handle = [dialog, message] { dialog->HandleDeviceMessage(message); };
        // Dropped means the window closed this link: nothing more of it may reach the window.
        if (dialog->m_hop.Run(generation, handle) == CWindowHop::Result::Dropped) return 0;
        dialog->m_sleep(2ms);
      }
      // A piece whose message closed the link is the last one handled, as at the end of a pass.
      if (!dialog->m_bRunning) return 0;
    }
  }
  return 0;
}

}  // namespace tolvane
