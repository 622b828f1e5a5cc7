#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>

#include "ui/MemoryWindow.h"

namespace tolvane {

// Puts the window without widgets on the Qt event loop of the thread that owns it: tasks posted to
// the window run from the loop, and the window's clock follows real time, with a Qt timer that
// fires when its next timer falls due.
class CWindowEventLoop {
 public:
  explicit CWindowEventLoop(CMemoryWindow& window);
  ~CWindowEventLoop();
  CWindowEventLoop(const CWindowEventLoop&) = delete;
  CWindowEventLoop& operator=(const CWindowEventLoop&) = delete;

  // Called from the loop after each pump, with the number of posted tasks that ran.
  void SetPumpedHandler(std::function<void(int tasksRun)> handler) { m_onPumped = std::move(handler); }
  // Brings the window's clock up to real time, firing the timers that fell due meanwhile. Called
  // before anything that may set a timer, so that none runs out early.
  void CatchUp();
  // Asks for a pump from the loop. Any thread.
  void Wake();

 private:
  void Pump();

  CMemoryWindow& m_window;
  QObject m_context;  // queued pumps die with it
  QTimer m_nextDue;
  QElapsedTimer m_clock;
  long long m_nClockStart = 0;
  std::atomic<bool> m_bPumpQueued{false};
  std::function<void(int)> m_onPumped;
};

}  // namespace tolvane
