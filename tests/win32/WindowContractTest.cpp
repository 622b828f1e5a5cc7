// The window contract for the Win32 main window, under Wine.
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <thread>

#include "Win32TestSupport.h"
#include "WindowContract.h"
#include "win32/Win32MainWindow.h"
#include "win32/app/AboutDlg.h"

namespace tolvane::contract {
namespace {

using win32::CWin32MainWindow;

// Plays the user who answers each box of this process with OK, telling what it showed first. Boxes
// not owned by `owner` are answered too, so that a misplaced one fails the test instead of hanging it.
class CBoxUser {
 public:
  CBoxUser(HWND owner, std::function<void(const CShownBox&)> whileOpen)
      : m_whileOpen(std::move(whileOpen)), m_thread([this, owner] { Run(owner); }) {}
  ~CBoxUser() {
    m_bStop = true;
    m_thread.join();
  }

 private:
  void Run(HWND owner) {
    while (!m_bStop) {
      for (HWND box = nullptr; (box = ::FindWindowExW(nullptr, box, L"#32770", nullptr));) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(box, &process);
        if (box == owner || process != ::GetCurrentProcessId() || !::IsWindowVisible(box)) continue;
        const bool overWindow = ::GetWindow(box, GW_OWNER) == owner;
        HWND message = ::GetDlgItem(box, kMessageBoxTextId);
        m_whileOpen(CShownBox{win32::testing::TextOf(box), message ? win32::testing::TextOf(message) : "",
                              overWindow && !::IsWindowEnabled(owner)});
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(win32::kIdOk, BN_CLICKED), 0);
        while (!m_bStop && ::IsWindow(box)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  static constexpr int kMessageBoxTextId = 0xFFFF;
  std::function<void(const CShownBox&)> m_whileOpen;
  std::atomic<bool> m_bStop{false};
  std::thread m_thread;
};

class CWin32Driver {
 public:
  CWin32Driver() {
    win32::testing::RegisterCommonControls();
    m_window = std::make_unique<CWin32MainWindow>();
    m_window->SetAboutBoxRunner(win32::RunAboutBoxOver);
    ::ShowWindow(m_window->Handle(), SW_SHOWNA);
  }
  ~CWin32Driver() {
    m_boxUser.reset();
    m_window.reset();
    Drain();
  }

  IWindow& Window() { return *m_window; }

  bool PumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      if (!PumpOne()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }
  void Drain() {
    while (PumpOne()) {
    }
  }

  int Expiries(int id) const {
    const auto found = m_expiries.find(id);
    return found == m_expiries.end() ? 0 : found->second;
  }

  void AnswerBoxes(std::function<void(const CShownBox&)> whileOpen) {
    m_boxUser = std::make_unique<CBoxUser>(m_window->Handle(), std::move(whileOpen));
  }

  static constexpr bool kShowsAboutBox = true;
  std::string SystemMenuEntry(int commandId) const {
    HMENU menu = m_window->Handle() ? ::GetSystemMenu(m_window->Handle(), FALSE) : nullptr;
    wchar_t text[256] = {};
    if (!menu || ::GetMenuStringW(menu, static_cast<UINT>(commandId), text, 256, MF_BYCOMMAND) <= 0) return {};
    return win32::Narrow(text);
  }

  // As the close box ends it: the object outlives its window.
  IWindow* EndWindow() {
    m_window->Destroy();
    return m_window.get();
  }

 private:
  // One message, through the dialog's keyboard handling as the program's loop does; the window's
  // timers are counted as they come, since no dialog is attached to hear them.
  bool PumpOne() {
    MSG message;
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
    HWND window = m_window ? m_window->Handle() : nullptr;
    if (message.message == WM_TIMER && window && message.hwnd == window) ++m_expiries[static_cast<int>(message.wParam)];
    if (window && ::IsDialogMessageW(window, &message)) return true;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    return true;
  }

  std::unique_ptr<CWin32MainWindow> m_window;
  std::unique_ptr<CBoxUser> m_boxUser;
  std::map<int, int> m_expiries;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32MainWindow, WindowContract, CWin32Driver);

}  // namespace
}  // namespace tolvane::contract
