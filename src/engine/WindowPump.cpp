#include "engine/WindowPump.h"

namespace tolvane {

CWindowPump::CWindowPump(CMemoryWindow& window, IEventLoop& loop)
    : m_window(window), m_loop(loop), m_nextDue(loop, [this] { Pump(); }), m_nWindowStart(window.Now()) {
  m_window.SetWakeHandler([this] { Wake(); });
}

CWindowPump::~CWindowPump() { m_window.SetWakeHandler(nullptr); }

void CWindowPump::Wake() {
  if (m_bPumpQueued.exchange(true)) return;
  m_loop.Post([alive = std::weak_ptr<CWindowPump*>(m_alive)] {
    if (const auto pump = alive.lock()) (*pump)->Pump();
  });
}

void CWindowPump::CatchUp() {
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_clockStart).count();
  const long long behind = m_nWindowStart + elapsed - m_window.Now();
  if (behind > 0) m_window.AdvanceClock(behind);
}

void CWindowPump::Pump() {
  m_bPumpQueued = false;
  CatchUp();
  const int ran = m_window.RunPosted();
  const long long untilDue = m_window.UntilNextTimer();
  if (untilDue < 0)
    m_nextDue.Stop();
  else
    m_nextDue.Start(untilDue);
  if (m_onPumped) m_onPumped(ran);
}

}  // namespace tolvane
