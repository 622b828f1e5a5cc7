#pragma once

#include <memory>
#include <string>

#include "link/TrafficTrace.h"
#include "res/Strings.h"
#include "win32/TraceWindow.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

class CWin32MainWindow;

// Takes what the link records on the window's thread, a few times a second, and hands the lines to
// the traffic window while it is open and to the trace file from start-up on. The trace records
// only while one of them listens.
class CWin32TrafficTracing {
 public:
  static constexpr UINT kPumpMs = 100;

  CWin32TrafficTracing(CTrafficTrace& trace, TextLanguage language);
  ~CWin32TrafficTracing();
  CWin32TrafficTracing(const CWin32TrafficTracing&) = delete;
  CWin32TrafficTracing& operator=(const CWin32TrafficTracing&) = delete;

  // Appends every line to the file from now on, as UTF-8. False, with the reason, when it cannot be
  // written.
  bool OpenFile(const std::wstring& path, std::string& errorText);
  // Puts "Traffic…" in the window's right-click menu; the traffic window belongs to that window.
  void AttachTo(CWin32MainWindow& window);
  // Opens the traffic window, or brings it to the front.
  void ShowWindow();
  // Null until first opened.
  CWin32TraceWindow* Window() const { return m_pWindow.get(); }
  // Hands out what is waiting now; the pump does it by itself.
  void Drain();

 private:
  static LRESULT CALLBACK PumpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void UpdateRecording();

  CTrafficTrace& m_trace;
  TextLanguage m_language;
  HWND m_hPump = nullptr;
  bool m_bPumping = false;
  HANDLE m_hFile = INVALID_HANDLE_VALUE;
  std::wstring m_strFilePath;
  bool m_bFileFailed = false;
  CWin32MainWindow* m_pMainWindow = nullptr;
  std::unique_ptr<CWin32TraceWindow> m_pWindow;
};

}  // namespace tolvane::win32
