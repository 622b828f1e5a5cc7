#include "cli/WindowEventLoop.h"

#include <QMetaObject>
#include <algorithm>
#include <climits>

namespace tolvane {

CWindowEventLoop::CWindowEventLoop(CMemoryWindow& window) : m_window(window), m_nClockStart(window.Now()) {
  m_clock.start();
  m_nextDue.setSingleShot(true);
  // A reply timer must never run out early.
  m_nextDue.setTimerType(Qt::PreciseTimer);
  QObject::connect(&m_nextDue, &QTimer::timeout, &m_context, [this] { Pump(); });
  m_window.SetWakeHandler([this] { Wake(); });
}

CWindowEventLoop::~CWindowEventLoop() { m_window.SetWakeHandler(nullptr); }

void CWindowEventLoop::Wake() {
  if (m_bPumpQueued.exchange(true)) return;
  QMetaObject::invokeMethod(
      &m_context, [this] { Pump(); }, Qt::QueuedConnection);
}

void CWindowEventLoop::CatchUp() {
  const long long behind = m_nClockStart + m_clock.elapsed() - m_window.Now();
  if (behind > 0) m_window.AdvanceClock(behind);
}

void CWindowEventLoop::Pump() {
  m_bPumpQueued = false;
  CatchUp();
  const int ran = m_window.RunPosted();
  const long long untilDue = m_window.UntilNextTimer();
  if (untilDue < 0)
    m_nextDue.stop();
  else
    m_nextDue.start(static_cast<int>(std::min<long long>(untilDue, INT_MAX)));
  if (m_onPumped) m_onPumped(ran);
}

}  // namespace tolvane
