#include "win32/TraceWindow.h"

#include <ctime>

#include "res/DialogTemplates.h"
#include "win32/SystemErrorText.h"
#include "win32/Utf16.h"
// After windows.h, which it builds on.
#include <commdlg.h>

namespace tolvane::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TolvaneTraffic";
constexpr int kMargin = 7;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

HWND CreateChild(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, int id) {
  return ::CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

std::wstring DefaultFileName() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_s(&local, &now);
  wchar_t name[64];
  std::wcsftime(name, 64, L"tolvane-traffic-%Y%m%d-%H%M%S.txt", &local);
  return name;
}

}  // namespace

CWin32TraceWindow::CWin32TraceWindow(HWND owner, TextLanguage language, std::function<void()> onHidden)
    : m_language(language), m_onHidden(std::move(onHidden)) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &CWin32TraceWindow::WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  ::RegisterClassExW(&windowClass);  // fails harmlessly when registered before
  const std::wstring title = Widen(LoadString(IDS_TRAFFIC_TITLE, language) + " - " + kApplicationName);
  ::CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                    760, 420, owner, nullptr, instance, this);
}

CWin32TraceWindow::~CWin32TraceWindow() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  if (m_hViewFont) ::DeleteObject(m_hViewFont);
}

LRESULT CALLBACK CWin32TraceWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<CWin32TraceWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->m_hWnd = window;
  }
  auto* self = reinterpret_cast<CWin32TraceWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Its owner, the main window, takes it along when it goes.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->m_hWnd = nullptr;
    self->m_hView = nullptr;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  return self->OnMessage(message, wParam, lParam);
}

LRESULT CWin32TraceWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: CreateChildren(); return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kSaveId && HIWORD(wParam) == BN_CLICKED) OnSave();
      if (LOWORD(wParam) == kClearId && HIWORD(wParam) == BN_CLICKED) Clear();
      if (LOWORD(wParam) == kIdCancel) ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0);  // Esc
      return 0;
    case WM_CLOSE:
      ::ShowWindow(m_hWnd, SW_HIDE);
      if (m_onHidden) m_onHidden();
      return 0;
    default: return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
  }
}

void CWin32TraceWindow::CreateChildren() {
  m_hView = CreateChild(m_hWnd, L"EDIT", L"",
                        WS_BORDER | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                            ES_AUTOHSCROLL | ES_NOHIDESEL,
                        kViewId);
  ::SetWindowLongPtrW(m_hView, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  ::SendMessageW(m_hView, EM_SETLIMITTEXT, 0, 0);  // as much as memory allows; DropOldestBeyond keeps it short
  HWND save = CreateChild(m_hWnd, L"BUTTON", Widen(LoadString(IDS_TRAFFIC_SAVE, m_language)),
                          WS_TABSTOP | BS_PUSHBUTTON, kSaveId);
  HWND clear = CreateChild(m_hWnd, L"BUTTON", Widen(LoadString(IDS_TRAFFIC_CLEAR, m_language)),
                           WS_TABSTOP | BS_PUSHBUTTON, kClearId);
  // The dialogs' font for the buttons; a fixed-pitch one for the lines, so their columns align.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT buttonFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  for (HWND button : {save, clear}) ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont), FALSE);
  LOGFONTW viewFont = metrics.lfMessageFont;
  viewFont.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  wcscpy_s(viewFont.lfFaceName, L"Courier New");
  m_hViewFont = ::CreateFontIndirectW(&viewFont);
  ::SendMessageW(m_hView, WM_SETFONT, reinterpret_cast<WPARAM>(m_hViewFont), FALSE);
}

void CWin32TraceWindow::Layout() {
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const int buttonsTop = client.bottom - kMargin - kButtonHeight;
  ::MoveWindow(m_hView, kMargin, kMargin, client.right - 2 * kMargin, buttonsTop - 2 * kMargin, TRUE);
  const int clearLeft = client.right - kMargin - kButtonWidth;
  ::MoveWindow(::GetDlgItem(m_hWnd, kClearId), clearLeft, buttonsTop, kButtonWidth, kButtonHeight, TRUE);
  ::MoveWindow(::GetDlgItem(m_hWnd, kSaveId), clearLeft - kMargin - kButtonWidth, buttonsTop, kButtonWidth,
               kButtonHeight, TRUE);
}

void CWin32TraceWindow::Show() {
  if (!m_hWnd) return;
  ::ShowWindow(m_hWnd, m_bShownBefore ? SW_SHOW : SW_SHOWNORMAL);
  m_bShownBefore = true;
  ::SetForegroundWindow(m_hWnd);
}

bool CWin32TraceWindow::IsVisible() const { return m_hWnd && ::IsWindowVisible(m_hWnd); }

void CWin32TraceWindow::AppendLines(const std::vector<std::string>& lines) {
  if (!m_hView || lines.empty()) return;
  std::string text;
  for (const std::string& line : lines) {
    // The view ends each line with CR LF; the first one ends the line before it.
    if (::GetWindowTextLengthW(m_hView) > 0 || !text.empty()) text += "\r\n";
    text += line;
  }
  // Follows the newest line unless the user has moved the caret away from the end.
  DWORD selectionStart = 0, selectionEnd = 0;
  ::SendMessageW(m_hView, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                 reinterpret_cast<LPARAM>(&selectionEnd));
  const auto length = static_cast<DWORD>(::GetWindowTextLengthW(m_hView));
  const bool following = selectionEnd >= length;
  const LRESULT firstVisible = ::SendMessageW(m_hView, EM_GETFIRSTVISIBLELINE, 0, 0);
  ::SendMessageW(m_hView, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(m_hView, EM_SETSEL, length, length);
  const std::wstring wide = Widen(text);
  ::SendMessageW(m_hView, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
  DropOldestBeyond(kMaxChars);
  if (!following) {
    ::SendMessageW(m_hView, EM_SETSEL, selectionStart, selectionEnd);
    const LRESULT nowVisible = ::SendMessageW(m_hView, EM_GETFIRSTVISIBLELINE, 0, 0);
    ::SendMessageW(m_hView, EM_LINESCROLL, 0, firstVisible - nowVisible);
  }
  ::SendMessageW(m_hView, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(m_hView, nullptr, TRUE);
  if (following) ::SendMessageW(m_hView, EM_SCROLLCARET, 0, 0);
}

void CWin32TraceWindow::DropOldestBeyond(int maxChars) {
  const int length = ::GetWindowTextLengthW(m_hView);
  if (length <= maxChars) return;
  // A quarter at a time, so that a busy trace does not cut at every line.
  const auto line = ::SendMessageW(m_hView, EM_LINEFROMCHAR, static_cast<WPARAM>(length - maxChars * 3 / 4), 0);
  const auto cut = ::SendMessageW(m_hView, EM_LINEINDEX, static_cast<WPARAM>(line + 1), 0);
  if (cut <= 0) return;
  ::SendMessageW(m_hView, EM_SETSEL, 0, cut);
  ::SendMessageW(m_hView, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
  const auto end = static_cast<WPARAM>(::GetWindowTextLengthW(m_hView));
  ::SendMessageW(m_hView, EM_SETSEL, end, static_cast<LPARAM>(end));
}

std::string CWin32TraceWindow::Text() const {
  if (!m_hView) return {};
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(m_hView)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(m_hView, text.data(), static_cast<int>(text.size()))));
  return text.empty() ? std::string() : Narrow(text) + "\r\n";
}

void CWin32TraceWindow::Clear() {
  if (m_hView) ::SetWindowTextW(m_hView, L"");
}

bool CWin32TraceWindow::SaveTo(const std::wstring& path, std::string& errorText) const {
  const std::wstring partial = path + L".part";
  HANDLE file =
      ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errorText = SystemErrorText(::GetLastError());
    return false;
  }
  const std::string text = Text();
  DWORD written = 0;
  const bool wrote = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                     written == text.size() && ::FlushFileBuffers(file);
  const DWORD writeError = ::GetLastError();
  ::CloseHandle(file);
  if (!wrote || !::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    errorText = SystemErrorText(wrote ? ::GetLastError() : writeError);
    ::DeleteFileW(partial.c_str());
    return false;
  }
  return true;
}

void CWin32TraceWindow::OnSave() {
  std::wstring name = DefaultFileName();
  name.resize(MAX_PATH * 4, L'\0');
  const std::wstring title = Widen(LoadString(IDS_TRAFFIC_SAVE, m_language));
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = m_hWnd;
  dialog.lpstrFilter = L"*.txt\0*.txt\0*.*\0*.*\0";
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = L"txt";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!::GetSaveFileNameW(&dialog)) return;
  const std::wstring path = name.c_str();
  std::string errorText;
  if (SaveTo(path, errorText)) return;
  const std::string text =
      FormatString(LoadString(IDS_TRAFFIC_SAVE_FAILED, m_language), Narrow(path)) + "\n" + errorText;
  ::MessageBoxW(m_hWnd, Widen(text).c_str(), Widen(kApplicationName).c_str(), MB_ICONWARNING | MB_OK);
}

}  // namespace tolvane::win32
