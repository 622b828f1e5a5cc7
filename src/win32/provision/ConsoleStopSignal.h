#pragma once

#include <atomic>
#include <functional>

namespace tolvane::win32 {

// Turns Ctrl-C, Ctrl-Break and the console's closing into calls, counting them, as SIGINT does on
// Linux, so that the program can end its links cleanly. The calls come from the system's own
// thread: hand them to the loop that acts on them. One per process.
class CConsoleStopSignal {
 public:
  explicit CConsoleStopSignal(std::function<void(int count)> onStop);
  ~CConsoleStopSignal();
  CConsoleStopSignal(const CConsoleStopSignal&) = delete;
  CConsoleStopSignal& operator=(const CConsoleStopSignal&) = delete;

 private:
  static int __stdcall OnControl(unsigned long event);

  std::function<void(int)> m_onStop;
  std::atomic<int> m_nCount{0};
};

}  // namespace tolvane::win32
