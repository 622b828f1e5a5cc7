#include "win32/Win32SerialPort.h"

#include <optional>
#include <utility>

#include "win32/CommSettings.h"
#include "win32/SystemErrorText.h"

namespace tolvane::win32 {
namespace {

constexpr wchar_t kNotifyClass[] = L"TolvaneSerialPortEvents";
constexpr UINT kReceivedMessage = WM_APP + 1;
constexpr UINT kLostMessage = WM_APP + 2;
// The longest the reader sleeps before it looks at the line again, whatever the driver reports.
constexpr DWORD kReadWaitMs = 50;
// After a line error, before reading again.
constexpr DWORD kRetryPauseMs = 20;

}  // namespace

bool IsVanishedDeviceError(DWORD error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:  // the usual report of a USB serial adapter pulled out
    case ERROR_BAD_COMMAND:    // ... or of its driver going away
    case ERROR_GEN_FAILURE:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_HANDLE:
    case ERROR_BROKEN_PIPE:
    case ERROR_HANDLE_EOF: return true;
    default: return false;
  }
}

COpenFailure OpenFailureOfError(DWORD error) {
  COpenFailure failure;
  switch (error) {
    case ERROR_ACCESS_DENIED:  // another program's exclusive open
    case ERROR_SHARING_VIOLATION: failure.cause = COpenFailure::Cause::Held; break;
    case ERROR_FILE_NOT_FOUND:  // no such port, or its adapter was pulled out
    case ERROR_PATH_NOT_FOUND: failure.cause = COpenFailure::Cause::Gone; break;
    default: break;
  }
  return failure;
}

CWin32SerialPort::CWin32SerialPort() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &CWin32SerialPort::NotifyProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kNotifyClass;
  ::RegisterClassExW(&windowClass);  // fails harmlessly when a port registered it before
  m_hNotify = ::CreateWindowExW(0, kNotifyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  ::SetWindowLongPtrW(m_hNotify, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_hStopReader = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_hWriteDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CWin32SerialPort::~CWin32SerialPort() {
  m_sink = nullptr;
  Close();
  if (m_hNotify) ::DestroyWindow(m_hNotify);
  ::CloseHandle(m_hStopReader);
  ::CloseHandle(m_hWriteDone);
}

LRESULT CALLBACK CWin32SerialPort::NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CWin32SerialPort*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == kReceivedMessage) {
    self->OnReceived();
    return 0;
  }
  if (self && message == kLostMessage) {
    self->OnLost(static_cast<int>(wParam));
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool CWin32SerialPort::Open(int portNumber, int inBufferSize, int outBufferSize) {
  m_lastOpenFailure = {};
  if (IsOpen() || portNumber <= 0 || inBufferSize <= 0 || outBufferSize <= 0 || !m_hNotify) return false;
  const std::wstring path = L"\\\\.\\COM" + std::to_wstring(portNumber);
  // No sharing: a port that another program holds is refused.
  HANDLE port = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
  if (port == INVALID_HANDLE_VALUE) {
    m_lastOpenFailure = OpenFailureOfError(::GetLastError());
    return false;
  }
  // Reads take what is there and never wait; the reader waits for the arrival event instead.
  COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
  if (!::SetupComm(port, static_cast<DWORD>(inBufferSize), static_cast<DWORD>(outBufferSize)) ||
      !::SetCommTimeouts(port, &timeouts) || !::SetCommMask(port, EV_RXCHAR)) {
    // It opened but does not answer as a serial line: the device behind the name has gone, as when
    // an adapter is pulled out while its port is being opened.
    if (IsVanishedDeviceError(::GetLastError())) m_lastOpenFailure.cause = COpenFailure::Cause::Gone;
    ::CloseHandle(port);
    return false;
  }
  // What waited on the line belongs to no session of ours.
  ::PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR | PURGE_RXABORT | PURGE_TXABORT);
  m_framer.Reset();
  m_input.clear();
  {
    std::lock_guard lock(m_receivedLock);
    m_received.clear();
  }
  ++m_nSession;
  ::ResetEvent(m_hStopReader);
  {
    std::lock_guard lock(m_writeLock);
    m_hPort = port;
    m_bAcceptWrites = true;
  }
  m_reader = std::thread(&CWin32SerialPort::ReaderLoop, this, port, m_nSession);
  return true;
}

bool CWin32SerialPort::ApplySettings(const std::string& settings, std::string& errorText) {
  const std::optional<CLineSettings> line = ParseLineSettings(settings, errorText);
  if (!line) return false;
  DCB dcb{};
  dcb.DCBlength = sizeof dcb;
  if (!IsOpen() || !::GetCommState(m_hPort, &dcb)) {
    errorText = SystemErrorText(::GetLastError());
    return false;
  }
  ApplyToDcb(*line, dcb);
  if (!::SetCommState(m_hPort, &dcb)) {
    errorText = SystemErrorText(::GetLastError());
    return false;
  }
  return true;
}

void CWin32SerialPort::Close() {
  if (!IsOpen()) return;
  {
    // Waits for a write under way; later ones are refused.
    std::lock_guard lock(m_writeLock);
    m_bAcceptWrites = false;
  }
  DrainOutput();
  CloseHandleAndReader();
}

void CWin32SerialPort::DrainOutput() {
  const auto deadline = std::chrono::steady_clock::now() + kDrainBound;
  for (;;) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(m_hPort, &errors, &status)) return;  // gone: nothing can leave any more
    if (status.cbOutQue == 0) break;
    if (std::chrono::steady_clock::now() >= deadline) return;
    ::Sleep(1);
  }
  // The driver's queue is empty; this lets the last bytes leave the hardware too.
  ::FlushFileBuffers(m_hPort);
}

void CWin32SerialPort::CloseHandleAndReader() {
  ::SetEvent(m_hStopReader);
  // The reader never waits for this thread, so joining it cannot deadlock.
  if (m_reader.joinable()) m_reader.join();
  HANDLE port = INVALID_HANDLE_VALUE;
  {
    std::lock_guard lock(m_writeLock);
    std::swap(port, m_hPort);
    m_bAcceptWrites = false;
  }
  ::CloseHandle(port);
  m_framer.Reset();
  m_input.clear();
  std::lock_guard lock(m_receivedLock);
  m_received.clear();
}

bool CWin32SerialPort::Write(const std::string& text) {
  std::lock_guard lock(m_writeLock);
  if (!m_bAcceptWrites || m_hPort == INVALID_HANDLE_VALUE) return false;
  if (text.empty()) return true;
  OVERLAPPED overlapped{};
  overlapped.hEvent = m_hWriteDone;
  ::ResetEvent(m_hWriteDone);
  const auto size = static_cast<DWORD>(text.size());
  DWORD written = 0;
  BOOL ok = ::WriteFile(m_hPort, text.data(), size, &written, &overlapped);
  if (!ok && ::GetLastError() == ERROR_IO_PENDING) {
    const auto bound = static_cast<DWORD>(kWriteBound.count());
    if (::WaitForSingleObject(m_hWriteDone, bound) != WAIT_OBJECT_0) ::CancelIoEx(m_hPort, &overlapped);
    ok = ::GetOverlappedResult(m_hPort, &overlapped, &written, TRUE);
  }
  return ok && written == size;
}

std::string CWin32SerialPort::ReadInput() { return std::exchange(m_input, {}); }

void CWin32SerialPort::ReaderLoop(HANDLE port, int session) {
  OVERLAPPED overlapped{};
  overlapped.hEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE waits[2] = {overlapped.hEvent, m_hStopReader};
  // Waits for the overlapped call to finish, the stop, or the bound; false unless it finished.
  const auto finish = [&](DWORD boundMs, DWORD& count) {
    if (::WaitForMultipleObjects(2, waits, FALSE, boundMs) != WAIT_OBJECT_0) {
      ::CancelIoEx(port, &overlapped);
      ::GetOverlappedResult(port, &overlapped, &count, TRUE);
      return false;
    }
    return ::GetOverlappedResult(port, &overlapped, &count, FALSE) != FALSE;
  };
  const auto stopped = [this](DWORD waitMs) { return ::WaitForSingleObject(m_hStopReader, waitMs) == WAIT_OBJECT_0; };
  char buffer[4096];
  while (!stopped(0)) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(port, &errors, &status)) {
      // The handle no longer answers as a serial line: the device behind it is gone.
      ::PostMessageW(m_hNotify, kLostMessage, static_cast<WPARAM>(session), 0);
      break;
    }
    DWORD count = 0;
    ::ResetEvent(overlapped.hEvent);
    if (status.cbInQue > 0) {
      // The bytes are there, so the read finishes at once.
      const DWORD wanted = status.cbInQue < sizeof buffer ? status.cbInQue : sizeof buffer;
      BOOL ok = ::ReadFile(port, buffer, wanted, &count, &overlapped);
      const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
      if (!ok && error == ERROR_IO_PENDING) ok = finish(kReadWaitMs, count);
      if (ok && count > 0) {
        Deliver(buffer, count);
      } else if (!ok && IsVanishedDeviceError(error)) {
        ::PostMessageW(m_hNotify, kLostMessage, static_cast<WPARAM>(session), 0);
        break;
      } else if (stopped(kRetryPauseMs)) {
        break;  // a line error costs its bytes, not the link
      }
      continue;
    }
    // Nothing waiting: sleep until a character arrives, with a bound in case a driver never says.
    DWORD mask = 0;
    const BOOL waiting = ::WaitCommEvent(port, &mask, &overlapped);
    if (!waiting && ::GetLastError() == ERROR_IO_PENDING)
      finish(kReadWaitMs, count);
    else if (!waiting && stopped(kRetryPauseMs))
      break;
  }
  ::CloseHandle(overlapped.hEvent);
}

void CWin32SerialPort::Deliver(const char* bytes, DWORD count) {
  std::lock_guard lock(m_receivedLock);
  m_received.append(bytes, count);
  if (!m_bReceivedPosted) m_bReceivedPosted = ::PostMessageW(m_hNotify, kReceivedMessage, 0, 0) != FALSE;
}

void CWin32SerialPort::OnReceived() {
  std::string bytes;
  {
    std::lock_guard lock(m_receivedLock);
    m_bReceivedPosted = false;
    bytes.swap(m_received);
  }
  // Bytes waiting here always belong to the open port: a close empties them after the reader ends.
  if (bytes.empty() || !IsOpen()) return;
  std::string text = m_framer.Feed(bytes);
  if (text.empty()) return;
  m_input += text;
  if (m_sink) m_sink->OnComm();
}

void CWin32SerialPort::OnLost(int session) {
  if (session != m_nSession || !IsOpen()) return;
  // Closed once, without waiting for a drain that cannot happen; then the logic closes the link.
  {
    std::lock_guard lock(m_writeLock);
    m_bAcceptWrites = false;
  }
  CloseHandleAndReader();
  if (m_sink) m_sink->OnPortLost();
}

}  // namespace tolvane::win32
