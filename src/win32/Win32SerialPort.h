#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "link/Framing.h"
#include "link/IPort.h"
#include "win32/WinApi.h"

namespace tolvane::win32 {

// Read errors that mean the device behind the port is gone (a USB adapter pulled out, say), as
// opposed to line errors that cost a few bytes.
bool IsVanishedDeviceError(DWORD error);

// Why CreateFile refused a COM port, from its error. Windows cannot tell who holds a port, so a held
// port's holder stays unknown.
COpenFailure OpenFailureOfError(DWORD error);

// A COM port: CreateFile on "\\.\COMn" with no sharing (an exclusive open), overlapped I/O, a reader
// thread, and the events delivered on the thread that made the port, through a message-only window.
// Everything but Write runs on that thread; Write runs on the sender thread and puts the bytes on
// the wire before it returns, so the pacing between commands holds at the wire.
class CWin32SerialPort : public IPort {
 public:
  CWin32SerialPort();
  ~CWin32SerialPort() override;
  CWin32SerialPort(const CWin32SerialPort&) = delete;
  CWin32SerialPort& operator=(const CWin32SerialPort&) = delete;

  void SetEventSink(IPortEvents* sink) override { m_sink = sink; }

  bool Open(int portNumber, int inBufferSize, int outBufferSize) override;
  bool ApplySettings(const std::string& settings, std::string& errorText) override;
  bool IsOpen() const override { return m_hPort != INVALID_HANDLE_VALUE; }
  // Waits, bounded, until what was written has left, then closes.
  void Close() override;
  bool Write(const std::string& text) override;
  std::string ReadInput() override;
  COpenFailure LastOpenFailure() const override { return m_lastOpenFailure; }

  // A command leaves in well under a millisecond at 921600 baud: a write that takes longer than
  // this is stuck, and is given up rather than the sender held. The drain covers "COM:close" and
  // whatever precedes it.
  static constexpr std::chrono::milliseconds kWriteBound{1000};
  static constexpr std::chrono::milliseconds kDrainBound{500};

 private:
  static LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ReaderLoop(HANDLE port, int session);
  void Deliver(const char* bytes, DWORD count);
  void OnReceived();
  void OnLost(int session);
  void DrainOutput();
  void CloseHandleAndReader();

  HWND m_hNotify = nullptr;
  IPortEvents* m_sink = nullptr;
  HANDLE m_hPort = INVALID_HANDLE_VALUE;
  HANDLE m_hStopReader = nullptr;
  HANDLE m_hWriteDone = nullptr;
  std::thread m_reader;
  int m_nSession = 0;  // which open a loss report belongs to
  COpenFailure m_lastOpenFailure;
  CByteFramer m_framer;
  std::string m_input;

  // Handed over by the reader thread.
  std::mutex m_receivedLock;
  std::string m_received;
  bool m_bReceivedPosted = false;

  // Held for every write and while the handle changes, so a close never pulls it from under a write.
  std::mutex m_writeLock;
  bool m_bAcceptWrites = false;
};

}  // namespace tolvane::win32
