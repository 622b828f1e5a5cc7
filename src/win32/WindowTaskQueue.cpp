#include "win32/WindowTaskQueue.h"

#include <utility>

namespace tolvane::win32 {

void CWindowTaskQueue::Post(std::function<void()> task) {
  std::lock_guard lock(m_lock);
  if (m_bClosed) return;
  m_tasks.push_back(std::move(task));
  RequestMessageLocked();
}

bool CWindowTaskQueue::RunOne() {
  std::function<void()> task;
  {
    std::lock_guard lock(m_lock);
    m_bMessagePending = false;
    if (m_bClosed || m_tasks.empty()) return false;
    task = std::move(m_tasks.front());
    m_tasks.pop_front();
    // Ask for the next one before running this: a modal loop inside the task then runs it.
    RequestMessageLocked();
  }
  task();
  return true;
}

void CWindowTaskQueue::Close() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(m_lock);
    m_bClosed = true;
    dropped.swap(m_tasks);
  }
}

std::size_t CWindowTaskQueue::PendingCount() const {
  std::lock_guard lock(m_lock);
  return m_tasks.size();
}

void CWindowTaskQueue::RequestMessageLocked() {
  if (m_bMessagePending || m_tasks.empty()) return;
  // A full message queue refuses the post; the next Post or RunOne asks again.
  m_bMessagePending = ::PostMessageW(m_hTarget, m_nMessage, 0, 0) != FALSE;
}

}  // namespace tolvane::win32
