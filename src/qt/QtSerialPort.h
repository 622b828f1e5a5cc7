#pragma once

#include <QObject>
#include <QSerialPort>
#include <mutex>
#include <string>

#include "link/Framing.h"
#include "link/IPort.h"
#include "qt/LinuxPortList.h"

namespace tolvane {

// The serial port on QSerialPort. Lives on the window's thread; only Write may be called from
// another thread, and it hands the bytes over without touching the port.
class CQtSerialPort : public QObject, public IPort {
  Q_OBJECT

 public:
  explicit CQtSerialPort(CLinuxPortList& ports, QObject* parent = nullptr);
  ~CQtSerialPort() override;

  void SetEventSink(IPortEvents* sink) override { m_sink = sink; }
  std::string GetSettings() const override { return "921600,n,8,1"; }
  int GetInBufferSize() const override { return 2048; }
  int GetOutBufferSize() const override { return 1024; }

  bool Open(int portNumber, int inBufferSize, int outBufferSize) override;
  bool ApplySettings(const std::string& settings, std::string& errorText) override;
  bool IsOpen() const override { return m_serial.isOpen(); }
  void Close() override;
  bool Write(const std::string& text) override;
  std::string ReadInput() override;

 private:
  void DrainPendingWrites();
  void OnReadyRead();
  void OnError(QSerialPort::SerialPortError error);

  CLinuxPortList& m_ports;
  QSerialPort m_serial;
  IPortEvents* m_sink = nullptr;
  CByteFramer m_framer;
  std::string m_input;
  bool m_bLost = false;

  // Bytes handed over by the sender thread, written out on this object's thread.
  std::mutex m_pendingLock;
  std::string m_pending;
  bool m_bDrainScheduled = false;
  bool m_bAcceptWrites = false;
};

// Parses "921600,n,8,1"; false when a field is missing or unknown.
struct CSerialSettings {
  qint32 baudRate = 0;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::DataBits dataBits = QSerialPort::Data8;
  QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};
bool ParseSerialSettings(const std::string& text, CSerialSettings& settings);

}  // namespace tolvane
