#pragma once

#include <QObject>
#include <QSerialPort>
#include <chrono>
#include <mutex>
#include <string>

#include "link/Framing.h"
#include "link/IPort.h"
#include "qtserial/LinuxPortList.h"
#include "posix/OpenFailureProbe.h"

namespace tolvane {

// The serial port on QSerialPort. Lives on the window's thread. Write may also be called from the
// sender thread: it writes to the device there and then, so commands leave paced as they are
// written, whatever the window's thread is doing.
class CQtSerialPort : public QObject, public IPort {
  Q_OBJECT

 public:
  explicit CQtSerialPort(CLinuxPortList& ports, QObject* parent = nullptr);
  ~CQtSerialPort() override;

  void SetEventSink(IPortEvents* sink) override { m_sink = sink; }

  bool Open(int portNumber, int inBufferSize, int outBufferSize) override;
  bool ApplySettings(const std::string& settings, std::string& errorText) override;
  bool IsOpen() const override { return m_serial->isOpen(); }
  // Waits, for a bounded time, until what was written has left, then closes.
  void Close() override;
  bool Write(const std::string& text) override;
  std::string ReadInput() override;
  COpenFailure LastOpenFailure() const override { return m_lastOpenFailure; }

 private:
  void OnReadyRead();
  void OnError(QSerialPort::SerialPortError error);
  void CloseAsLost();
  // Stops writes from any thread and hands back the descriptor they used.
  int StopWrites();

  CLinuxPortList& m_ports;
  QSerialPort* m_serial;  // a child, so tests can reach its signals
  IPortEvents* m_sink = nullptr;
  CByteFramer m_framer;
  std::string m_input;
  std::string m_strDevicePath;
  COpenFailure m_lastOpenFailure;
  bool m_bLost = false;
  int m_nReadErrors = 0;  // in a row, without data between them

  // The descriptor writes go to; -1 while closed. Held for the whole of each write, so the port
  // never closes under a writer.
  std::mutex m_writeLock;
  int m_fdWrite = -1;
};

// How the serial layer's refusal to open reads to the diagnosis.
OpenRefusal RefusalOf(QSerialPort::SerialPortError error);

// Whether an error of the open port means the device has gone. Qt reports every failed read as a
// read error, a spurious wake-up included; only a vanished device or an error that keeps
// recurring without data in between ends the link.
bool IsPortLost(QSerialPort::SerialPortError error, bool deviceStillThere, int readErrorsInARow);
inline constexpr int kReadErrorsBeforeLost = 3;

// Writes all of `bytes` to a non-blocking descriptor, waiting for room up to `bound`.
bool WriteAllBounded(int fd, const char* bytes, std::size_t size, std::chrono::milliseconds bound);
// Waits up to `bound` until the driver's output queue is empty; false when it is not.
bool WaitForOutputDrained(int fd, std::chrono::milliseconds bound);

}  // namespace tolvane
