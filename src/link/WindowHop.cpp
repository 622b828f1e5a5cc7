#include "link/WindowHop.h"

namespace tolvane {

CWindowHop::CWindowHop(IWindowThread& windowThread)
    : m_windowThread(windowThread), m_shared(std::make_shared<Shared>()) {}

CWindowHop::~CWindowHop() { CancelAll(); }

int CWindowHop::Open() {
  std::lock_guard lock(m_shared->lock);
  ++m_shared->generation;
  m_shared->accepting = true;
  return m_shared->generation;
}

void CWindowHop::CancelAll() {
  {
    std::lock_guard lock(m_shared->lock);
    ++m_shared->generation;
    m_shared->accepting = false;
  }
  m_shared->changed.notify_all();
}

CWindowHop::Result CWindowHop::Run(int generation, std::function<void()> task) {
  auto shared = m_shared;
  auto finished = std::make_shared<bool>(false);
  const auto live = [&shared, generation] { return shared->accepting && shared->generation == generation; };
  {
    std::lock_guard lock(shared->lock);
    if (!live()) return Result::Dropped;
  }
  // The posted task holds only shared state: it may run after this object is gone.
  m_windowThread.PostToWindowThread([shared, finished, generation, task = std::move(task)] {
    {
      std::lock_guard lock(shared->lock);
      if (!shared->accepting || shared->generation != generation) return;
      ++shared->runningDepth;
    }
    task();
    {
      std::lock_guard lock(shared->lock);
      --shared->runningDepth;
      *finished = true;
    }
    shared->changed.notify_all();
  });
  std::unique_lock lock(shared->lock);
  shared->changed.wait(lock, [&] { return *finished || !live(); });
  return *finished ? Result::Ran : Result::Dropped;
}

bool CWindowHop::IsRunningHop() const {
  std::lock_guard lock(m_shared->lock);
  return m_shared->runningDepth > 0;
}

}  // namespace tolvane
