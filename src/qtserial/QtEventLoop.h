#pragma once

#include <QObject>
#include <map>

#include "engine/EventLoop.h"

class QTimer;

namespace tolvane {

// The engine's loop on the Qt event loop of the thread that makes it, for what needs Qt's own
// loop on its thread: QSerialPort hears its device through it.
class CQtEventLoop : public IEventLoop {
 public:
  CQtEventLoop();
  ~CQtEventLoop() override;

  void Post(Task task) override;
  TimerId PostAfter(std::chrono::milliseconds delay, Task task) override;
  void Cancel(TimerId id) override;

 private:
  QObject m_context;  // posted tasks and timers die with it
  std::map<TimerId, QTimer*> m_timers;
  TimerId m_nLastId = 0;
};

}  // namespace tolvane
