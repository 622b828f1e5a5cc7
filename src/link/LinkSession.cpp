#include "link/LinkSession.h"

#include <vector>

#include "link/Framing.h"
#include "res/Strings.h"

namespace tolvane {

using namespace std::chrono_literals;

CLinkSession::CLinkSession(IWindowThread& windowThread, IPort& port, ILinkSink& sink)
    : m_comm(port),
      m_sink(sink),
      m_hop(windowThread),
      m_sleep([](std::chrono::milliseconds period) { std::this_thread::sleep_for(period); }) {
  m_comm.SetEventSink(this);
}

CLinkSession::~CLinkSession() {
  // No worker may outlive us, whatever state the link was left in.
  m_bRunning = false;
  m_hop.CancelAll();
  JoinWorkers();
  m_comm.SetEventSink(nullptr);
}

void CLinkSession::JoinWorkers() {
  if (m_sendThread.joinable()) m_sendThread.join();
  if (m_recvThread.joinable()) m_recvThread.join();
}

void CLinkSession::Start() {
  m_bRunning = true;
  m_nLinkGeneration = m_hop.Open();
  m_recvThread = std::thread(&CLinkSession::RecvThreadProc, this);
  m_sendThread = std::thread(&CLinkSession::SendThreadProc, this);
}

void CLinkSession::Stop() {
  m_bRunning = false;
  // The sender never waits for the window, so joining it is always safe.
  if (m_sendThread.joinable()) m_sendThread.join();
  // Inside a hop the receiver is waiting for us: it ends by itself after its current piece.
  if (m_hop.IsRunningHop()) return;
  m_hop.CancelAll();
  if (m_recvThread.joinable()) m_recvThread.join();
}

void CLinkSession::Queue(std::string command) { m_listSend.AddHead(std::move(command)); }

bool CLinkSession::WriteNow(const std::string& command) {
  if (!m_comm.Write(command)) return false;
  Trace(TraceDirection::ToDevice, command);
  return true;
}

void CLinkSession::ClearQueues() {
  m_listRecv.RemoveAll();
  m_listSend.RemoveAll();
}

void CLinkSession::OnComm() {
  std::string text = m_comm.ReadInput();
  if (!text.empty()) m_listRecv.AddHead(std::move(text));
}

void CLinkSession::OnPortLost() {
  if (!m_bRunning) return;
  // Nothing more of this link reaches the window, even when the loss is reported while a reply
  // handler's box is open.
  m_hop.CancelAll();
  m_sink.OnLinkLost();
}

void CLinkSession::Trace(TraceDirection direction, const std::string& message) {
  if (CTrafficTrace* trace = m_pTrace.load(std::memory_order_acquire)) trace->Record(direction, message);
}

unsigned CLinkSession::SendThreadProc(CLinkSession* link) {
  while (link->m_bRunning) {
    link->m_sleep(10ms);
    std::string command;
    if (!link->m_listSend.TakeTail(command)) continue;
    // A refused write is dropped without a report; the next command goes on.
    if (link->m_bRunning && link->m_comm.Write(command)) link->Trace(TraceDirection::ToDevice, command);
  }
  return 0;
}

unsigned CLinkSession::RecvThreadProc(CLinkSession* link) {
  SetThreadTextLanguage(GetProcessTextLanguage());
  const int generation = link->m_nLinkGeneration;
  CMessageCutter cutter;
  while (link->m_bRunning) {
    link->m_sleep(10ms);
    // Every piece that has arrived since the last pass: a port that reads often hands over many
    // small pieces, and taking one a pass would cap the link at 100 pieces a second, so a steady
    // stream of short messages would pile up without end.
    std::vector<std::string> pieces;
    if (!link->m_listRecv.TakeAll(pieces)) continue;
    for (const std::string& piece : pieces) {
      cutter.Append(piece);
      std::string message;
      while (cutter.Next(message)) {
        link->Trace(TraceDirection::FromDevice, message);
        const auto handle = [link, message] { link->m_sink.HandleDeviceMessage(message); };
        // Dropped means the window closed this link: nothing more of it may reach the window.
        if (link->m_hop.Run(generation, handle) == CWindowHop::Result::Dropped) return 0;
        link->m_sleep(2ms);
      }
      // A piece whose message closed the link is the last one handled, as at the end of a pass.
      if (!link->m_bRunning) return 0;
    }
  }
  return 0;
}

}  // namespace tolvane
