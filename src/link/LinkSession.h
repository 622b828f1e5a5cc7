#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "link/IPort.h"
#include "link/StringQueue.h"
#include "link/TrafficTrace.h"
#include "link/WindowHop.h"
#include "link/WindowThread.h"

namespace tolvane {

// Whoever the link delivers to; called on the window's thread.
class ILinkSink {
 public:
  virtual ~ILinkSink() = default;
  // A complete message without its terminator, in a hop of the link that cut it.
  virtual void HandleDeviceMessage(const std::string& message) = 0;
  // The device behind the running link went away. Nothing more of that link reaches the window.
  virtual void OnLinkLost() = 0;
};

// One open serial link: the send and receive queues, the sender and receiver threads, the hop to
// the window's thread and the link's generation. The sender writes one queued command per 10 ms
// pass; the receiver cuts messages at the terminator and hands each to the sink in a hop, waiting
// for it. Everything but the workers runs on the window's thread.
class CLinkSession : public IPortEvents {
 public:
  using Sleeper = std::function<void(std::chrono::milliseconds)>;

  CLinkSession(IWindowThread& windowThread, IPort& port, ILinkSink& sink);
  ~CLinkSession() override;
  CLinkSession(const CLinkSession&) = delete;
  CLinkSession& operator=(const CLinkSession&) = delete;

  // The port is open: a new link generation starts, with its own workers.
  void Start();
  // Clears the run flag and lets the workers go. Also from inside a hop: the receiver waiting for
  // that hop is not joined, and ends by itself after its current piece.
  void Stop();
  bool IsRunning() const { return m_bRunning; }
  // True while a hop's task is on the window thread's stack (its receiver is waiting for us).
  bool IsRunningHop() const { return m_hop.IsRunningHop(); }

  // Adds a command, terminator included, for the sender.
  void Queue(std::string command);
  // Writes at once, past the queue (the link's closing word); recorded when the port took it.
  bool WriteNow(const std::string& command);
  void ClearSendQueue() { m_listSend.RemoveAll(); }
  void ClearQueues();

  // Where the link records what it writes and cuts; null for none. Any time.
  void SetTrafficTrace(CTrafficTrace* trace) { m_pTrace.store(trace); }
  // Lets tests count the workers' polling passes instead of waiting on the clock.
  void SetSleeper(Sleeper sleeper) { m_sleep = std::move(sleeper); }
  const CStringQueue& SendQueue() const { return m_listSend; }
  const CStringQueue& RecvQueue() const { return m_listRecv; }

  // IPortEvents
  void OnComm() override;
  void OnPortLost() override;

 private:
  static unsigned SendThreadProc(CLinkSession* link);
  static unsigned RecvThreadProc(CLinkSession* link);
  void Trace(TraceDirection direction, const std::string& message);
  void JoinWorkers();

  IPort& m_comm;
  ILinkSink& m_sink;
  std::atomic<bool> m_bRunning{false};
  CStringQueue m_listRecv;
  CStringQueue m_listSend;
  std::atomic<CTrafficTrace*> m_pTrace{nullptr};
  CWindowHop m_hop;
  int m_nLinkGeneration = 0;
  Sleeper m_sleep;
  std::thread m_recvThread;
  std::thread m_sendThread;
};

}  // namespace tolvane
