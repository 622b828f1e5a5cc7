#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "win32/WinApi.h"

namespace tolvane::win32 {

// Tasks for a window's thread. Any thread posts; the window's thread runs them one per message, so
// that a task which opens a modal box does not hold back the ones after it (the box's own loop
// runs them, as the window's loop would). At most one message is in the window's queue at a time.
// Once closed, tasks are dropped.
class CWindowTaskQueue {
 public:
  CWindowTaskQueue(HWND target, UINT message) : m_hTarget(target), m_nMessage(message) {}

  void Post(std::function<void()> task);
  // The window's thread, on `message`: runs the oldest task, if any. False when there was none.
  bool RunOne();
  // The window is going: drops what waits and everything posted later.
  void Close();
  std::size_t PendingCount() const;

 private:
  void RequestMessageLocked();

  HWND m_hTarget;
  UINT m_nMessage;
  mutable std::mutex m_lock;
  std::deque<std::function<void()>> m_tasks;
  bool m_bMessagePending = false;
  bool m_bClosed = false;
};

}  // namespace tolvane::win32
