#include "win32/bench/BenchLogWindow.h"

#include "res/Strings.h"
#include "win32/Utf16.h"
#include "win32/bench/BenchControls.h"

namespace tolvane::win32 {

namespace {

constexpr int kCaptionId = 101;

LRESULT CALLBACK LogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      HWND caption = ::GetDlgItem(window, kCaptionId);
      RECT client{};
      ::GetClientRect(window, &client);
      const int top = CaptionSize(caption, ControlText(caption)).cy + 4;
      ::SetWindowPos(caption, nullptr, 4, 2, client.right - 8, top - 2, SWP_NOZORDER | SWP_NOACTIVATE);
      ::SetWindowPos(::GetDlgItem(window, kBenchLogTextId), nullptr, 0, top, client.right, client.bottom - top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_SETFOCUS: ::SetFocus(::GetDlgItem(window, kBenchLogTextId)); return 0;
    case WM_NCDESTROY:
      if (auto font = reinterpret_cast<HFONT>(::GetWindowLongPtrW(window, GWLP_USERDATA))) ::DeleteObject(font);
      break;
    default: break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void RegisterLogClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (::GetClassInfoExW(instance, kBenchLogClass, &windowClass)) return;
  windowClass.lpfnWndProc = &LogWindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kBenchLogClass;
  ::RegisterClassExW(&windowClass);
}

}  // namespace

HWND ShowBenchLog(HWND owner, const std::string& title, const std::vector<std::string>& lines) {
  auto* instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(owner, GWLP_HINSTANCE));
  RegisterLogClass(instance);
  HWND window = ::CreateWindowExW(0, kBenchLogClass, Widen(title).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 0, 0, owner, nullptr, instance, nullptr);
  if (!window) return nullptr;
  ::SendMessageW(window, WM_SETFONT, ::SendMessageW(owner, WM_GETFONT, 0, 0), FALSE);
  // The caption names the text for screen readers.
  MakeChild(window, WC_STATICW, Widen(LoadString(IDS_BENCH_SHOW_LOG)), SS_LEFT | SS_NOPREFIX, kCaptionId);
  HWND text = MakeChild(window, WC_EDITW, L"",
                        ES_LEFT | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                            WS_HSCROLL | WS_BORDER | WS_TABSTOP,
                        kBenchLogTextId);
  LOGFONTW face{};
  ::GetObjectW(reinterpret_cast<HGDIOBJ>(::SendMessageW(owner, WM_GETFONT, 0, 0)), sizeof face, &face);
  face.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  ::lstrcpynW(face.lfFaceName, L"Courier New", LF_FACESIZE);
  HFONT fixed = ::CreateFontIndirectW(&face);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(fixed));
  ::SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(fixed), FALSE);
  std::wstring joined;
  for (const std::string& line : lines) joined += (joined.empty() ? L"" : L"\r\n") + Widen(line);
  ::SetWindowTextW(text, joined.c_str());
  // Room for ninety columns and twenty lines.
  const SIZE cell = CaptionSize(text, L"x");
  RECT frame{0, 0, cell.cx * 90 + ::GetSystemMetrics(SM_CXVSCROLL) + 8,
             cell.cy * 21 + ::GetSystemMetrics(SM_CYHSCROLL) + 8};
  ::AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
  ::ShowWindow(window, SW_SHOW);
  return window;
}

}  // namespace tolvane::win32
