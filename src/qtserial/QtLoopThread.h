#pragma once

#include <QThread>
#include <condition_variable>
#include <mutex>

#include "engine/EventLoop.h"

namespace tolvane {


// A thread running Qt's event loop, for serial ports that hear their devices through it. Its loop
// is made and let go on the thread itself, so every timer and port on it goes there too.
class CQtLoopThread : public ILoopThread {
 public:
  CQtLoopThread();
  // Runs what was posted, then stops and is joined.
  ~CQtLoopThread() override;
  CQtLoopThread(const CQtLoopThread&) = delete;
  CQtLoopThread& operator=(const CQtLoopThread&) = delete;

  IEventLoop& Loop() override { return *m_pLoop; }

 private:
  class CThread : public QThread {
   public:
    explicit CThread(CQtLoopThread& owner) : m_owner(owner) {}

   protected:
    void run() override;

   private:
    CQtLoopThread& m_owner;
  };

  CThread m_thread{*this};
  std::mutex m_lock;
  std::condition_variable m_ready;
  IEventLoop* m_pLoop = nullptr;  // lives on the thread, for the thread's life
};

}  // namespace tolvane
