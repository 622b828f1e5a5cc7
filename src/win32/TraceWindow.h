#pragma once

#include <functional>
#include <string>
#include <vector>

#include "res/Strings.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

// "Traffic…": a window of its own, not modal, that lists the trace's lines, newest last, and can
// save them as plain text or start afresh. Closing it hides it; its lines stay for the next time.
class CWin32TraceWindow {
 public:
  // Far more than a session needs; the oldest lines go first past it.
  static constexpr int kMaxChars = 8'000'000;
  static constexpr int kViewId = 100;
  static constexpr int kSaveId = 101;
  static constexpr int kClearId = 102;

  // `onHidden` runs on the window's thread each time the user closes it.
  CWin32TraceWindow(HWND owner, TextLanguage language, std::function<void()> onHidden);
  ~CWin32TraceWindow();
  CWin32TraceWindow(const CWin32TraceWindow&) = delete;
  CWin32TraceWindow& operator=(const CWin32TraceWindow&) = delete;

  // Shows it, or brings it to the front.
  void Show();
  bool IsVisible() const;
  HWND Handle() const { return m_hWnd; }
  void AppendLines(const std::vector<std::string>& lines);
  // Every line, each ended by CR LF, as Windows' text files have them.
  std::string Text() const;
  void Clear();
  // Writes Text() as UTF-8, replacing the file only once the whole text is written.
  bool SaveTo(const std::wstring& path, std::string& errorText) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateChildren();
  void Layout();
  void OnSave();
  void DropOldestBeyond(int maxChars);

  TextLanguage m_language;
  std::function<void()> m_onHidden;
  HWND m_hWnd = nullptr;
  HWND m_hView = nullptr;
  HFONT m_hViewFont = nullptr;
  bool m_bShownBefore = false;
};

}  // namespace tolvane::win32
