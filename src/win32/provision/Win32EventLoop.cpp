#include "win32/provision/Win32EventLoop.h"

#include <algorithm>
#include <future>
#include <mutex>

namespace tolvane::win32 {

namespace {

constexpr UINT kRunTask = WM_APP + 1;
constexpr UINT kQuit = WM_APP + 2;
constexpr wchar_t kClassName[] = L"TolvaneEventLoop";

}  // namespace

CWin32EventLoop::CWin32EventLoop() {
  static std::once_flag registered;
  std::call_once(registered, [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &CWin32EventLoop::WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
  });
  m_hWindow = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
  m_pTasks = std::make_unique<CWindowTaskQueue>(m_hWindow, kRunTask);
  SetWindowLongPtrW(m_hWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CWin32EventLoop::~CWin32EventLoop() {
  m_pTasks->Close();
  for (const auto& timer : m_timers) KillTimer(m_hWindow, static_cast<UINT_PTR>(timer.first));
  DestroyWindow(m_hWindow);
}

void CWin32EventLoop::Post(Task task) { m_pTasks->Post(std::move(task)); }

IEventLoop::TimerId CWin32EventLoop::PostAfter(std::chrono::milliseconds delay, Task task) {
  const TimerId id = ++m_nLastId;
  m_timers.emplace(id, std::move(task));
  SetTimer(m_hWindow, static_cast<UINT_PTR>(id), static_cast<UINT>(std::max<long long>(1, delay.count())), nullptr);
  return id;
}

void CWin32EventLoop::Cancel(TimerId id) {
  if (m_timers.erase(id) != 0) KillTimer(m_hWindow, static_cast<UINT_PTR>(id));
}

void CWin32EventLoop::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void CWin32EventLoop::Quit() { PostMessageW(m_hWindow, kQuit, 0, 0); }

void CWin32EventLoop::OnTimer(UINT_PTR id) {
  // Single-shot: the system's timer repeats until killed.
  KillTimer(m_hWindow, id);
  const auto found = m_timers.find(static_cast<TimerId>(id));
  if (found == m_timers.end()) return;
  Task task = std::move(found->second);
  m_timers.erase(found);
  task();
}

LRESULT CALLBACK CWin32EventLoop::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* loop = reinterpret_cast<CWin32EventLoop*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (loop == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case kRunTask:
      // One task per message; the queue asks for the next message itself.
      loop->m_pTasks->RunOne();
      return 0;
    case kQuit: PostQuitMessage(0); return 0;
    case WM_TIMER: loop->OnTimer(wParam); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

CWin32LoopThread::CWin32LoopThread() {
  std::promise<CWin32EventLoop*> ready;
  std::future<CWin32EventLoop*> made = ready.get_future();
  m_thread = std::thread([&ready] {
    CWin32EventLoop loop;
    ready.set_value(&loop);
    loop.Run();
  });
  m_pLoop = made.get();
}

CWin32LoopThread::~CWin32LoopThread() {
  // Behind what was posted already.
  m_pLoop->Post([loop = m_pLoop] { loop->Quit(); });
  m_thread.join();
}

}  // namespace tolvane::win32
