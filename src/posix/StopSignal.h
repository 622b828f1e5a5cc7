#pragma once

#include <functional>
#include <thread>

namespace tolvane {

// Turns SIGINT (Ctrl-C), SIGTERM and SIGHUP into calls, counting them, so that the program can end
// its links cleanly instead of dying in the middle of a command. The calls come from a thread of
// the stop signal's own: hand them to the loop that acts on them. One per process.
class CStopSignal {
 public:
  explicit CStopSignal(std::function<void(int count)> onStop);
  ~CStopSignal();
  CStopSignal(const CStopSignal&) = delete;
  CStopSignal& operator=(const CStopSignal&) = delete;

 private:
  void Listen();

  std::function<void(int)> m_onStop;
  std::thread m_listener;
};

}  // namespace tolvane
