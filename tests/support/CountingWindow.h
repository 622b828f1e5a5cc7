#pragma once

#include <atomic>
#include <functional>

#include "qt/QtMainWindow.h"

namespace tolvane::e2e {

// The real window, counting the tasks its hops have run: one for each message the receiver
// handed to the dispatcher.
class CCountingWindow : public CQtMainWindow {
 public:
  void PostToWindowThread(std::function<void()> task) override {
    CQtMainWindow::PostToWindowThread([this, task = std::move(task)] {
      task();
      ++handled;
    });
  }
  std::atomic<long> handled{0};
};

}  // namespace tolvane::e2e
