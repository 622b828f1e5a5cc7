#include "qtserial/QtLoopThread.h"

#include "qtserial/QtEventLoop.h"

namespace tolvane {

CQtLoopThread::CQtLoopThread() {
  m_thread.start();
  std::unique_lock hold(m_lock);
  m_ready.wait(hold, [this] { return m_pLoop != nullptr; });
}

CQtLoopThread::~CQtLoopThread() {
  m_pLoop->Post([] { QThread::currentThread()->quit(); });
  m_thread.wait();
}

void CQtLoopThread::CThread::run() {
  CQtEventLoop loop;
  {
    const std::lock_guard hold(m_owner.m_lock);
    m_owner.m_pLoop = &loop;
  }
  m_owner.m_ready.notify_one();
  exec();
}

}  // namespace tolvane
