#include "qt/QtSerialPort.h"

#include <QThread>
#include <QTimer>
#include <utility>

namespace tolvane {

CQtSerialPort::CQtSerialPort(CLinuxPortList& ports, QObject* parent) : QObject(parent), m_ports(ports) {
  connect(&m_serial, &QSerialPort::readyRead, this, &CQtSerialPort::OnReadyRead);
  connect(&m_serial, &QSerialPort::errorOccurred, this, &CQtSerialPort::OnError);
}

CQtSerialPort::~CQtSerialPort() {
  m_sink = nullptr;
  if (m_serial.isOpen()) m_serial.close();
}

bool CQtSerialPort::Open(int portNumber, int inBufferSize, int outBufferSize) {
  if (m_serial.isOpen() || inBufferSize <= 0 || outBufferSize <= 0) return false;
  const auto entry = m_ports.FindPort(portNumber);
  if (!entry) return false;
  m_serial.setPortName(QString::fromStdString(entry->path));
  // No cap on Qt's own read buffer: bytes never wait in the driver for us.
  m_serial.setReadBufferSize(0);
  // QSerialPort takes a lock file and TIOCEXCL, so a port that another process holds is refused.
  if (!m_serial.open(QIODevice::ReadWrite)) return false;
  m_bLost = false;
  m_framer.Reset();
  m_input.clear();
  {
    std::lock_guard lock(m_pendingLock);
    m_pending.clear();
    m_bAcceptWrites = true;
  }
  return true;
}

bool CQtSerialPort::ApplySettings(const std::string& settings, std::string& errorText) {
  CSerialSettings parsed;
  if (!ParseSerialSettings(settings, parsed)) {
    errorText = "Invalid property value";
    return false;
  }
  const bool ok = m_serial.setBaudRate(parsed.baudRate) && m_serial.setParity(parsed.parity) &&
                  m_serial.setDataBits(parsed.dataBits) && m_serial.setStopBits(parsed.stopBits) &&
                  m_serial.setFlowControl(QSerialPort::NoFlowControl);
  if (!ok) errorText = m_serial.errorString().toStdString();
  return ok;
}

void CQtSerialPort::Close() {
  {
    std::lock_guard lock(m_pendingLock);
    m_bAcceptWrites = false;
  }
  DrainPendingWrites();
  if (m_serial.isOpen()) {
    m_serial.flush();
    m_serial.close();
  }
  m_framer.Reset();
  m_input.clear();
}

bool CQtSerialPort::Write(const std::string& text) {
  const bool onOwnThread = QThread::currentThread() == thread();
  {
    std::lock_guard lock(m_pendingLock);
    if (!m_bAcceptWrites) return false;
    m_pending += text;
    if (onOwnThread || m_bDrainScheduled) {
      // Drained below, or by the drain already on its way.
    } else {
      m_bDrainScheduled = true;
      QMetaObject::invokeMethod(this, &CQtSerialPort::DrainPendingWrites, Qt::QueuedConnection);
    }
  }
  if (onOwnThread) DrainPendingWrites();
  return true;
}

void CQtSerialPort::DrainPendingWrites() {
  std::string bytes;
  {
    std::lock_guard lock(m_pendingLock);
    bytes.swap(m_pending);
    m_bDrainScheduled = false;
  }
  if (!bytes.empty() && m_serial.isOpen()) m_serial.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

std::string CQtSerialPort::ReadInput() { return std::exchange(m_input, {}); }

void CQtSerialPort::OnReadyRead() {
  const QByteArray bytes = m_serial.readAll();
  if (bytes.isEmpty()) return;
  std::string text = m_framer.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (text.empty()) return;
  m_input += text;
  if (m_sink) m_sink->OnComm();
}

void CQtSerialPort::OnError(QSerialPort::SerialPortError error) {
  if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
  if (!m_serial.isOpen() || m_bLost) return;
  // A vanished device keeps reporting errors until the port is closed: close it now, once.
  m_bLost = true;
  {
    std::lock_guard lock(m_pendingLock);
    m_bAcceptWrites = false;
    m_pending.clear();
  }
  m_serial.close();
  QTimer::singleShot(0, this, [this] {
    if (m_sink) m_sink->OnPortLost();
  });
}

bool ParseSerialSettings(const std::string& text, CSerialSettings& settings) {
  const QStringList fields = QString::fromStdString(text).split(',');
  if (fields.size() != 4) return false;
  bool ok = false;
  settings.baudRate = fields[0].trimmed().toInt(&ok);
  if (!ok || settings.baudRate <= 0) return false;
  const QString parity = fields[1].trimmed().toLower();
  if (parity == "n")
    settings.parity = QSerialPort::NoParity;
  else if (parity == "e")
    settings.parity = QSerialPort::EvenParity;
  else if (parity == "o")
    settings.parity = QSerialPort::OddParity;
  else if (parity == "m")
    settings.parity = QSerialPort::MarkParity;
  else if (parity == "s")
    settings.parity = QSerialPort::SpaceParity;
  else
    return false;
  const int dataBits = fields[2].trimmed().toInt(&ok);
  if (!ok || dataBits < 5 || dataBits > 8) return false;
  settings.dataBits = static_cast<QSerialPort::DataBits>(dataBits);
  const QString stop = fields[3].trimmed();
  if (stop == "1")
    settings.stopBits = QSerialPort::OneStop;
  else if (stop == "1.5")
    settings.stopBits = QSerialPort::OneAndHalfStop;
  else if (stop == "2")
    settings.stopBits = QSerialPort::TwoStop;
  else
    return false;
  return true;
}

}  // namespace tolvane
