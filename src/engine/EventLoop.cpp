#include "engine/EventLoop.h"

namespace tolvane {

void CLoopTimer::Start(long long milliseconds) {
  Stop();
  m_id = m_loop.PostAfter(std::chrono::milliseconds(milliseconds), [this] {
    m_id = 0;
    m_onTimeout();
  });
}

void CLoopTimer::Stop() {
  if (m_id != 0) m_loop.Cancel(m_id);
  m_id = 0;
}

void CEventLoop::Post(Task task) {
  {
    const std::lock_guard hold(m_lock);
    m_tasks.push_back(std::move(task));
  }
  m_woken.notify_one();
}

IEventLoop::TimerId CEventLoop::PostAfter(std::chrono::milliseconds delay, Task task) {
  const std::lock_guard hold(m_lock);
  const TimerId id = ++m_nLastId;
  m_timers.emplace(id, CTimer{Clock::now() + delay, std::move(task)});
  return id;
}

void CEventLoop::Cancel(TimerId id) {
  const std::lock_guard hold(m_lock);
  m_timers.erase(id);
}

void CEventLoop::Quit() {
  {
    const std::lock_guard hold(m_lock);
    m_bQuit = true;
  }
  m_woken.notify_one();
}

void CEventLoop::Run() {
  std::unique_lock hold(m_lock);
  while (!m_bQuit) {
    Task task;
    if (!m_tasks.empty()) {
      task = std::move(m_tasks.front());
      m_tasks.pop_front();
    } else {
      auto next = m_timers.end();
      for (auto timer = m_timers.begin(); timer != m_timers.end(); ++timer)
        if (next == m_timers.end() || timer->second.due < next->second.due) next = timer;
      if (next == m_timers.end()) {
        m_woken.wait(hold);
        continue;
      }
      if (Clock::now() < next->second.due) {
        m_woken.wait_until(hold, next->second.due);
        continue;
      }
      task = std::move(next->second.task);
      m_timers.erase(next);
    }
    hold.unlock();
    task();
    task = nullptr;  // what it holds goes before the lock is taken again
    hold.lock();
  }
}

}  // namespace tolvane
