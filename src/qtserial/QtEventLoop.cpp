#include "qtserial/QtEventLoop.h"

#include <QMetaObject>
#include <QTimer>

namespace tolvane {

CQtEventLoop::CQtEventLoop() = default;

CQtEventLoop::~CQtEventLoop() = default;  // the timers are the context's children

void CQtEventLoop::Post(Task task) {
  QMetaObject::invokeMethod(&m_context, std::move(task), Qt::QueuedConnection);
}

IEventLoop::TimerId CQtEventLoop::PostAfter(std::chrono::milliseconds delay, Task task) {
  const TimerId id = ++m_nLastId;
  auto* timer = new QTimer(&m_context);
  timer->setSingleShot(true);
  // A reply timer must never run out early.
  timer->setTimerType(Qt::PreciseTimer);
  QObject::connect(timer, &QTimer::timeout, &m_context, [this, id, task = std::move(task)] {
    const auto found = m_timers.find(id);
    if (found == m_timers.end()) return;
    found->second->deleteLater();
    m_timers.erase(found);
    task();
  });
  m_timers.emplace(id, timer);
  timer->start(delay);
  return id;
}

void CQtEventLoop::Cancel(TimerId id) {
  const auto found = m_timers.find(id);
  if (found == m_timers.end()) return;
  delete found->second;
  m_timers.erase(found);
}

}  // namespace tolvane
