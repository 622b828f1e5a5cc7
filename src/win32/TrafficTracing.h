#pragma once

#include <memory>
#include <string>

#include "link/TraceFeed.h"
#include "res/Strings.h"
#include "win32/TraceFile.h"
#include "win32/TraceWindow.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

class CWin32MainWindow;

// The trace feed on Windows: its pump on a timer of a message-only window, the traffic window while
// it is open and the trace file from start-up on.
class CWin32TrafficTracing {
 public:
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
  void Drain() { m_feed.Drain(); }

 private:
  class CWindowView : public ITraceView {
   public:
    explicit CWindowView(const std::unique_ptr<CWin32TraceWindow>& window) : m_window(window) {}
    bool IsListening() const override { return m_window && m_window->IsVisible(); }
    bool Show(const std::vector<std::string>& lines) override;

   private:
    const std::unique_ptr<CWin32TraceWindow>& m_window;
  };

  static LRESULT CALLBACK PumpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void RunPump(bool run);

  TextLanguage m_language;
  HWND m_hPump = nullptr;
  CWin32MainWindow* m_pMainWindow = nullptr;
  std::unique_ptr<CWin32TraceWindow> m_pWindow;
  CWindowView m_windowView{m_pWindow};
  CWin32TraceFile m_file;
  // Last, so it goes first: the last lines reach the views.
  CTraceFeed m_feed;
};

}  // namespace tolvane::win32
