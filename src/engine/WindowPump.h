#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include "engine/EventLoop.h"
#include "ui/MemoryWindow.h"

namespace tolvane {

// Puts the window without widgets on a loop: tasks posted to the window run from the loop, and the
// window's clock follows real time, with a loop timer that fires when its next timer falls due.
// Lives on the loop's thread.
class CWindowPump {
 public:
  CWindowPump(CMemoryWindow& window, IEventLoop& loop);
  ~CWindowPump();
  CWindowPump(const CWindowPump&) = delete;
  CWindowPump& operator=(const CWindowPump&) = delete;

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
  IEventLoop& m_loop;
  CLoopTimer m_nextDue;
  std::chrono::steady_clock::time_point m_clockStart = std::chrono::steady_clock::now();
  long long m_nWindowStart = 0;
  std::atomic<bool> m_bPumpQueued{false};
  // A pump posted before the pump went finds it gone: both happen on the loop's thread.
  std::shared_ptr<CWindowPump*> m_alive = std::make_shared<CWindowPump*>(this);
  std::function<void(int)> m_onPumped;
};

}  // namespace tolvane
