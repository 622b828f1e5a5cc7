#include "HeadlessWindow.h"

#include <thread>

namespace tolvane::testing {

bool CHeadlessWindow::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (RunPosted() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace tolvane::testing
