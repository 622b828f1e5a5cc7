#include "win32/provision/ConsoleStopSignal.h"

#include "win32/WinApi.h"

namespace tolvane::win32 {

namespace {

std::atomic<CConsoleStopSignal*> g_pStop{nullptr};

// Windows ends the process soon after a close, log-off or shut-down handler returns: this long is
// left for the run to close its links and write its report.
constexpr DWORD kGraceOnCloseMs = 4000;

}  // namespace

CConsoleStopSignal::CConsoleStopSignal(std::function<void(int count)> onStop) : m_onStop(std::move(onStop)) {
  g_pStop = this;
  SetConsoleCtrlHandler(&CConsoleStopSignal::OnControl, TRUE);
}

CConsoleStopSignal::~CConsoleStopSignal() {
  SetConsoleCtrlHandler(&CConsoleStopSignal::OnControl, FALSE);
  g_pStop = nullptr;
}

int __stdcall CConsoleStopSignal::OnControl(unsigned long event) {
  CConsoleStopSignal* stop = g_pStop;
  if (stop == nullptr) return FALSE;
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: stop->m_onStop(++stop->m_nCount); return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      // The console goes whatever we answer: stop at once and use the time left.
      stop->m_nCount = 1;
      stop->m_onStop(++stop->m_nCount);
      Sleep(kGraceOnCloseMs);
      return TRUE;
    default: return FALSE;
  }
}

}  // namespace tolvane::win32
