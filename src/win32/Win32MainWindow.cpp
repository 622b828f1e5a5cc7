#include "win32/Win32MainWindow.h"

#include <algorithm>

#include "res/ControlIds.h"
#include "ui/MirlSettingsDlg.h"
#include "win32/DialogFitting.h"
#include "win32/DialogTemplateBuilder.h"
#include "win32/Utf16.h"

namespace tolvane::win32 {

CWin32MainWindow::CWin32MainWindow(TextLanguage language, HINSTANCE instance)
    : m_hInstance(instance ? instance : ::GetModuleHandleW(nullptr)), m_language(language) {
  const CDialogTemplateBuilder dialogTemplate(MainDialogTemplate(), language, MainWindowFrameStyle());
  ::CreateDialogIndirectParamW(m_hInstance, dialogTemplate.Get(), nullptr, &CWin32MainWindow::DialogProc,
                               reinterpret_cast<LPARAM>(this));
}

CWin32MainWindow::~CWin32MainWindow() {
  Destroy();
  if (m_hIconLarge) ::DestroyIcon(m_hIconLarge);
  if (m_hIconSmall) ::DestroyIcon(m_hIconSmall);
}

INT_PTR CALLBACK CWin32MainWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CWin32MainWindow*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->m_hWnd = window;
    self->OnInitWindow();
    return TRUE;  // the focus goes to the first control that takes it
  }
  auto* self = reinterpret_cast<CWin32MainWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
  return self ? self->OnMessage(message, wParam, lParam) : FALSE;
}

void CWin32MainWindow::OnInitWindow() {
  FitDialogToFont(m_hWnd, MainDialogTemplate(), m_language);
  AddStatusStrip();
  m_tasks = std::make_unique<CWindowTaskQueue>(m_hWnd, kRunTaskMessage);
  const auto loadIcon = [this](int sizeMetric) {
    const int size = ::GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        ::LoadImageW(m_hInstance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  };
  m_hIconLarge = loadIcon(SM_CXICON);
  m_hIconSmall = loadIcon(SM_CXSMICON);
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIconLarge));
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIconSmall));
}

void CWin32MainWindow::AddStatusStrip() {
  // A status bar without a size grip: it never takes the focus, and the window is not resizable.
  HWND strip = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_BOTTOM, 0, 0, 0, 0, m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusStripId)), m_hInstance, nullptr);
  if (!strip) return;
  ::SendMessageW(strip, WM_SETFONT, ::SendMessageW(m_hWnd, WM_GETFONT, 0, 0), FALSE);
  ::SendMessageW(strip, WM_SIZE, 0, 0);
  RECT stripRect{};
  ::GetWindowRect(strip, &stripRect);
  // The template area keeps its size; the window grows by the strip, about its old centre.
  const int height = stripRect.bottom - stripRect.top;
  RECT window{};
  ::GetWindowRect(m_hWnd, &window);
  ::SetWindowPos(m_hWnd, nullptr, window.left, std::max(0L, window.top - height / 2), window.right - window.left,
                 window.bottom - window.top + height, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(strip, WM_SIZE, 0, 0);
}

INT_PTR CWin32MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (HIWORD(wParam) == CBN_CLOSEUP)
        if (const auto tips = m_itemTips.find(id); tips != m_itemTips.end()) tips->second->Hide();
      // No default button and no OK or Cancel: Enter and Esc must not end the window and lose
      // what was typed. The close box, the system menu and Alt+F4 still do.
      if (id == kIdOk || id == kIdCancel) return TRUE;
      return RouteCommand(id, HIWORD(wParam)) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code != NM_CLICK) return FALSE;
      const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
      return RouteListClick(static_cast<int>(header->idFrom), click->iItem) ? TRUE : FALSE;
    }
    case WM_TIMER:
      if (m_pDialog) m_pDialog->OnTimer(static_cast<int>(wParam));
      return FALSE;  // and on to the default processing
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return FALSE;
      if (m_pDialog) m_pDialog->OnSysCommand(static_cast<int>(wParam));
      return TRUE;
    case WM_CONTEXTMENU: OnContextMenu(reinterpret_cast<HWND>(wParam), lParam); return TRUE;
    case WM_QUERYDRAGICON: return reinterpret_cast<INT_PTR>(m_hIconLarge);
    case WM_CLOSE: ::DestroyWindow(m_hWnd); return TRUE;
    case WM_DESTROY: OnWindowDestroyed(); return FALSE;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
      m_hWnd = nullptr;
      return FALSE;
    case kRunTaskMessage:
      if (m_tasks) m_tasks->RunOne();
      return TRUE;
    default: return FALSE;
  }
}

void CWin32MainWindow::OnWindowDestroyed() {
  if (m_bDestroyed) return;
  // From here on no box can open and nothing more reaches the logic.
  m_bDestroyed = true;
  for (const int id : m_timers) ::KillTimer(m_hWnd, static_cast<UINT_PTR>(id));
  m_timers.clear();
  m_itemTips.clear();
  if (m_pDialog) m_pDialog->OnDestroy();
  m_pDialog = nullptr;
  if (m_tasks) m_tasks->Close();
}

void CWin32MainWindow::RunModal() {
  if (!m_hWnd) return;
  ::ShowWindow(m_hWnd, SW_SHOW);
  ::SetForegroundWindow(m_hWnd);
  MSG message;
  while (m_hWnd && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (m_hWnd && ::IsDialogMessageW(m_hWnd, &message)) continue;
    if (IsModelessMessage(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void CWin32MainWindow::Destroy() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

HWND CWin32MainWindow::Control(int id) const { return m_hWnd ? ::GetDlgItem(m_hWnd, id) : nullptr; }

LRESULT CWin32MainWindow::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  HWND control = Control(id);
  return control ? ::SendMessageW(control, message, wParam, lParam) : 0;
}

bool CWin32MainWindow::AppendSystemMenuItem(int commandId, const std::string& text) {
  HMENU menu = m_hWnd ? ::GetSystemMenu(m_hWnd, FALSE) : nullptr;
  if (!menu) return false;
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(commandId), Widen(text).c_str());
  return true;
}

void CWin32MainWindow::AddMenuAction(const std::string& text, std::function<void()> action) {
  m_menuActions.emplace_back(text, std::move(action));
}

void CWin32MainWindow::OnContextMenu(HWND clicked, LPARAM screenPoint) {
  if (m_menuActions.empty() || m_bDestroyed) return;
  HMENU menu = ::CreatePopupMenu();
  for (std::size_t index = 0; index < m_menuActions.size(); ++index)
    ::AppendMenuW(menu, MF_STRING, index + 1, Widen(m_menuActions[index].first).c_str());
  POINT at{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
  if (screenPoint == -1) {
    // From the keyboard (Shift+F10 or the menu key): at the control that has the focus.
    RECT rect{};
    ::GetWindowRect(clicked ? clicked : m_hWnd, &rect);
    at = {rect.left + 8, rect.top + 8};
  }
  const auto chosen = static_cast<std::size_t>(
      ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, m_hWnd, nullptr));
  ::DestroyMenu(menu);
  if (chosen >= 1 && chosen <= m_menuActions.size() && !m_bDestroyed) m_menuActions[chosen - 1].second();
}

bool CWin32MainWindow::IsModelessMessage(MSG& message) {
  std::erase_if(m_modeless, [](HWND window) { return !::IsWindow(window); });
  for (HWND window : m_modeless)
    if (::IsDialogMessageW(window, &message)) return true;
  return false;
}

void CWin32MainWindow::RunAboutBox() {
  if (m_aboutBoxRunner && !m_bDestroyed) m_aboutBoxRunner(m_hWnd);
}

void CWin32MainWindow::MessageBox(const std::string& text) {
  // Once the window is going nobody could answer a box, and the close must not wait for one.
  if (m_bDestroyed || !m_hWnd) return;
  ::MessageBoxW(m_hWnd, Widen(text).c_str(), Widen(kApplicationName).c_str(), MB_ICONWARNING | MB_OK);
}

void CWin32MainWindow::SetStatusText(const std::string& text) {
  if (HWND strip = Control(kStatusStripId))
    ::SendMessageW(strip, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void CWin32MainWindow::SetTimer(int id, int milliseconds) {
  if (m_bDestroyed || !m_hWnd) return;
  // Setting a running id again restarts it with the new interval.
  if (::SetTimer(m_hWnd, static_cast<UINT_PTR>(id), static_cast<UINT>(milliseconds), nullptr) != 0) m_timers.insert(id);
}

void CWin32MainWindow::KillTimer(int id) {
  if (m_hWnd) ::KillTimer(m_hWnd, static_cast<UINT_PTR>(id));
  m_timers.erase(id);
}

void CWin32MainWindow::PostToWindowThread(std::function<void()> task) {
  if (m_tasks) m_tasks->Post(std::move(task));
}

}  // namespace tolvane::win32
