#pragma once

#include <functional>

namespace tolvane {

// The thread that owns the window: the link hands it work, and waits for it through CWindowHop.
class IWindowThread {
 public:
  virtual ~IWindowThread() = default;
  // Runs the task on the window's thread later. Callable from any thread. A task posted to a
  // window that is gone is dropped.
  virtual void PostToWindowThread(std::function<void()> task) = 0;
};

}  // namespace tolvane
