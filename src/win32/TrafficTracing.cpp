#include "win32/TrafficTracing.h"

#include "win32/Win32MainWindow.h"

namespace tolvane::win32 {
namespace {

constexpr wchar_t kPumpClass[] = L"TolvaneTracePump";
constexpr UINT_PTR kPumpTimer = 1;

}  // namespace

CWin32TrafficTracing::CWin32TrafficTracing(CTrafficTrace& trace, TextLanguage language)
    : m_language(language), m_feed(trace, language, [this](bool run) { RunPump(run); }) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &CWin32TrafficTracing::PumpProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kPumpClass;
  ::RegisterClassExW(&windowClass);  // fails harmlessly when registered before
  m_hPump = ::CreateWindowExW(0, kPumpClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  ::SetWindowLongPtrW(m_hPump, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_feed.AddView(m_windowView);
  m_feed.AddView(m_file);
}

CWin32TrafficTracing::~CWin32TrafficTracing() {
  // Before the feed hands out the last lines: no pump may run into a tracing that is going.
  if (m_hPump) ::DestroyWindow(m_hPump);
}

LRESULT CALLBACK CWin32TrafficTracing::PumpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CWin32TrafficTracing*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_TIMER && wParam == kPumpTimer) {
    self->Drain();
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void CWin32TrafficTracing::RunPump(bool run) {
  if (!m_hPump) return;
  if (run)
    ::SetTimer(m_hPump, kPumpTimer, CTraceFeed::kPumpMs, nullptr);
  else
    ::KillTimer(m_hPump, kPumpTimer);
}

bool CWin32TrafficTracing::OpenFile(const std::wstring& path, std::string& errorText) {
  if (!m_file.Open(path, errorText)) return false;
  m_feed.UpdateRecording();
  return true;
}

void CWin32TrafficTracing::AttachTo(CWin32MainWindow& window) {
  m_pMainWindow = &window;
  window.AddMenuAction(LoadString(IDS_TRAFFIC_MENU, m_language), [this] { ShowWindow(); });
}

void CWin32TrafficTracing::ShowWindow() {
  if (!m_pWindow || !m_pWindow->Handle()) {
    HWND owner = m_pMainWindow ? m_pMainWindow->Handle() : nullptr;
    m_pWindow = std::make_unique<CWin32TraceWindow>(owner, m_language, [this] { m_feed.AfterListening(); });
    if (m_pMainWindow && m_pWindow->Handle()) m_pMainWindow->AddModelessWindow(m_pWindow->Handle());
  }
  m_feed.BeforeListening(m_windowView);
  m_pWindow->Show();
  m_feed.UpdateRecording();
}

bool CWin32TrafficTracing::CWindowView::Show(const std::vector<std::string>& lines) {
  m_window->AppendLines(lines);
  return true;
}

}  // namespace tolvane::win32
