#include "win32/TrafficTracing.h"

#include <cstdio>

#include "win32/SystemErrorText.h"
#include "win32/Utf16.h"
#include "win32/Win32MainWindow.h"

namespace tolvane::win32 {
namespace {

constexpr wchar_t kPumpClass[] = L"TolvaneTracePump";
constexpr UINT_PTR kPumpTimer = 1;

}  // namespace

CWin32TrafficTracing::CWin32TrafficTracing(CTrafficTrace& trace, TextLanguage language)
    : m_trace(trace), m_language(language) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &CWin32TrafficTracing::PumpProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kPumpClass;
  ::RegisterClassExW(&windowClass);  // fails harmlessly when registered before
  m_hPump = ::CreateWindowExW(0, kPumpClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  ::SetWindowLongPtrW(m_hPump, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CWin32TrafficTracing::~CWin32TrafficTracing() {
  // The last lines of the run belong in the file too.
  Drain();
  m_trace.SetRecording(false);
  m_pWindow.reset();
  if (m_hPump) ::DestroyWindow(m_hPump);
  if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
}

LRESULT CALLBACK CWin32TrafficTracing::PumpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CWin32TrafficTracing*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_TIMER && wParam == kPumpTimer) {
    self->Drain();
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool CWin32TrafficTracing::OpenFile(const std::wstring& path, std::string& errorText) {
  // Appended to, and readable by others while the program runs.
  HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errorText = SystemErrorText(::GetLastError());
    return false;
  }
  if (m_hFile != INVALID_HANDLE_VALUE) ::CloseHandle(m_hFile);
  m_hFile = file;
  m_strFilePath = path;
  UpdateRecording();
  return true;
}

void CWin32TrafficTracing::AttachTo(CWin32MainWindow& window) {
  m_pMainWindow = &window;
  window.AddMenuAction(LoadString(IDS_TRAFFIC_MENU, m_language), [this] { ShowWindow(); });
}

void CWin32TrafficTracing::ShowWindow() {
  if (!m_pWindow || !m_pWindow->Handle()) {
    HWND owner = m_pMainWindow ? m_pMainWindow->Handle() : nullptr;
    // What was recorded while it was open is shown before it goes.
    m_pWindow = std::make_unique<CWin32TraceWindow>(owner, m_language, [this] {
      Drain();
      UpdateRecording();
    });
    if (m_pMainWindow && m_pWindow->Handle()) m_pMainWindow->AddModelessWindow(m_pWindow->Handle());
  }
  if (!m_pWindow->IsVisible()) Drain();  // lines from before it opened belong to the file only
  m_pWindow->Show();
  UpdateRecording();
}

void CWin32TrafficTracing::UpdateRecording() {
  const bool listening = m_hFile != INVALID_HANDLE_VALUE || (m_pWindow && m_pWindow->IsVisible());
  m_trace.SetRecording(listening);
  if (listening && !m_bPumping && m_hPump) m_bPumping = ::SetTimer(m_hPump, kPumpTimer, kPumpMs, nullptr) != 0;
  if (!listening && m_bPumping) {
    ::KillTimer(m_hPump, kPumpTimer);
    m_bPumping = false;
  }
}

void CWin32TrafficTracing::Drain() {
  std::size_t leftOut = 0;
  const std::vector<CTraceEntry> entries = m_trace.Take(leftOut);
  if (entries.empty() && leftOut == 0) return;
  std::vector<std::string> lines;
  lines.reserve(entries.size() + 1);
  for (const CTraceEntry& entry : entries) lines.push_back(FormatTraceLine(entry));
  if (leftOut > 0) lines.push_back(FormatString(LoadString(IDS_TRAFFIC_LEFT_OUT, m_language), std::to_string(leftOut)));
  if (m_pWindow && m_pWindow->IsVisible()) m_pWindow->AppendLines(lines);
  if (m_hFile == INVALID_HANDLE_VALUE) return;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  DWORD written = 0;
  if ((!::WriteFile(m_hFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
       written != text.size()) &&
      !m_bFileFailed) {
    // Said once, where the user who asked for the file will look.
    m_bFileFailed = true;
    std::fprintf(stderr, "Tolvane: the trace could not be written to %s: %s\n", Narrow(m_strFilePath).c_str(),
                 SystemErrorText(::GetLastError()).c_str());
  }
}

}  // namespace tolvane::win32
