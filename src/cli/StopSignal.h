#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace tolvane {

// Turns SIGINT (Ctrl-C), SIGTERM and SIGHUP into a call on the event loop's thread, counting them, so that
// the program can end its link cleanly instead of dying in the middle of a command. One per process.
class CStopSignal {
 public:
  explicit CStopSignal(std::function<void(int count)> onStop);
  ~CStopSignal();
  CStopSignal(const CStopSignal&) = delete;
  CStopSignal& operator=(const CStopSignal&) = delete;

 private:
  void OnReadable();

  std::function<void(int)> m_onStop;
  std::unique_ptr<QSocketNotifier> m_pNotifier;
  int m_nCount = 0;
};

}  // namespace tolvane
