#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "win32/Utf16.h"
#include "win32/WinApi.h"

namespace tolvane::win32::testing {

// The classes the templates name, as the application registers them at start-up.
inline void RegisterCommonControls() {
  INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF | ICC_INTERNET_CLASSES};
  ::InitCommonControlsEx(&controls);
}

// Runs this thread's messages, through the dialog's keyboard handling as the program's loop does,
// until `done` holds or the bound passes.
inline bool PumpUntil(HWND dialog, const std::function<bool()>& done,
                      std::chrono::milliseconds bound = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG message;
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    if (dialog && ::IsWindow(dialog) && ::IsDialogMessageW(dialog, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return true;
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

inline std::string TextOf(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return Narrow(text);
}

inline DWORD StyleOf(HWND window) { return static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)); }

}  // namespace tolvane::win32::testing
