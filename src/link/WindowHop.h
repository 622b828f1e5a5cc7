#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "link/WindowThread.h"

namespace tolvane {

// Runs a worker's task on the window's thread and waits for it, so that reply handlers are
// serialised with the window's own handlers. Every hop belongs to a link generation; cancelling
// drops pending hops, releases their waiters and refuses further hops of that generation.
class CWindowHop {
 public:
  enum class Result { Ran, Dropped };

  explicit CWindowHop(IWindowThread& windowThread);
  ~CWindowHop();
  CWindowHop(const CWindowHop&) = delete;
  CWindowHop& operator=(const CWindowHop&) = delete;

  // Window's thread: a new link starts; returns its generation.
  int Open();
  // Any thread: drop everything pending and refuse the current generation from now on.
  void CancelAll();
  // Worker thread: blocks until the task has run on the window's thread, or was dropped.
  Result Run(int generation, std::function<void()> task);
  // Window's thread: true while a hop's task is on the stack (so its worker is waiting for us).
  bool IsRunningHop() const;

 private:
  struct Shared {
    std::mutex lock;
    std::condition_variable changed;
    int generation = 0;
    bool accepting = false;
    int runningDepth = 0;
  };
  IWindowThread& m_windowThread;
  std::shared_ptr<Shared> m_shared;
};

}  // namespace tolvane
