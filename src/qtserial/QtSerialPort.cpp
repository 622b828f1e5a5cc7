#include "qtserial/QtSerialPort.h"

#include <QTimer>

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <thread>
#include <utility>

#include "link/LineSettings.h"

namespace tolvane {

namespace {

// A command is a few dozen bytes; at 921600 baud it leaves in well under a millisecond. A line that
// takes longer than this is stuck, and the write is given up rather than the sender held.
constexpr std::chrono::milliseconds kWriteBound(1000);
// "COM:close" and whatever precedes it, before the port is let go.
constexpr std::chrono::milliseconds kDrainBound(500);

QSerialPort::Parity ParityOf(EParity parity) {
  switch (parity) {
    case EParity::Odd: return QSerialPort::OddParity;
    case EParity::Even: return QSerialPort::EvenParity;
    case EParity::Mark: return QSerialPort::MarkParity;
    case EParity::Space: return QSerialPort::SpaceParity;
    case EParity::None: break;
  }
  return QSerialPort::NoParity;
}

}  // namespace

CQtSerialPort::CQtSerialPort(CLinuxPortList& ports, QObject* parent)
    : QObject(parent), m_ports(ports), m_serial(new QSerialPort(this)) {
  connect(m_serial, &QSerialPort::readyRead, this, &CQtSerialPort::OnReadyRead);
  connect(m_serial, &QSerialPort::errorOccurred, this, &CQtSerialPort::OnError);
}

CQtSerialPort::~CQtSerialPort() {
  m_sink = nullptr;
  StopWrites();
  if (m_serial->isOpen()) m_serial->close();
}

bool CQtSerialPort::Open(int portNumber, int inBufferSize, int outBufferSize) {
  m_lastOpenFailure = {};
  if (m_serial->isOpen() || inBufferSize <= 0 || outBufferSize <= 0) return false;
  const auto entry = m_ports.FindPort(portNumber);
  if (!entry) {
    m_lastOpenFailure.cause = COpenFailure::Cause::Gone;
    return false;
  }
  m_serial->setPortName(QString::fromStdString(entry->path));
  // No cap on Qt's own read buffer: bytes never wait in the driver for us.
  m_serial->setReadBufferSize(0);
  // QSerialPort takes a lock file and TIOCEXCL, so a port that another process holds is refused.
  if (!m_serial->open(QIODevice::ReadWrite)) {
    m_lastOpenFailure = DiagnoseOpenFailure(entry->path, RefusalOf(m_serial->error()));
    return false;
  }
  m_strDevicePath = entry->path;
  m_bLost = false;
  m_nReadErrors = 0;
  m_framer.Reset();
  m_input.clear();
  std::lock_guard lock(m_writeLock);
  m_fdWrite = static_cast<int>(m_serial->handle());
  return true;
}

bool CQtSerialPort::ApplySettings(const std::string& settings, std::string& errorText) {
  const std::optional<CLineSettings> line = ParseLineSettings(settings, errorText);
  if (!line) return false;
  const bool ok =
      m_serial->setBaudRate(line->baudRate) && m_serial->setParity(ParityOf(line->parity)) &&
      m_serial->setDataBits(static_cast<QSerialPort::DataBits>(line->dataBits)) &&
      m_serial->setStopBits(line->stopBits == EStopBits::Two ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
      m_serial->setFlowControl(QSerialPort::NoFlowControl);
  if (!ok) errorText = m_serial->errorString().toStdString();
  return ok;
}

int CQtSerialPort::StopWrites() {
  // Waits for a write in progress on the sender thread; that write is bounded and never waits
  // for this thread.
  std::lock_guard lock(m_writeLock);
  return std::exchange(m_fdWrite, -1);
}

void CQtSerialPort::Close() {
  const int fd = StopWrites();
  if (m_serial->isOpen()) {
    // Closing puts back the port's earlier settings at once: bytes still queued would leave at the
    // wrong speed on a real cable.
    if (fd >= 0) WaitForOutputDrained(fd, kDrainBound);
    m_serial->close();
  }
  m_framer.Reset();
  m_input.clear();
}

bool CQtSerialPort::Write(const std::string& text) {
  std::lock_guard lock(m_writeLock);
  if (m_fdWrite < 0) return false;
  return WriteAllBounded(m_fdWrite, text.data(), text.size(), kWriteBound);
}

std::string CQtSerialPort::ReadInput() { return std::exchange(m_input, {}); }

void CQtSerialPort::OnReadyRead() {
  const QByteArray bytes = m_serial->readAll();
  if (bytes.isEmpty()) return;
  m_nReadErrors = 0;
  std::string text = m_framer.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (text.empty()) return;
  m_input += text;
  if (m_sink) m_sink->OnComm();
}

void CQtSerialPort::OnError(QSerialPort::SerialPortError error) {
  if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
  if (!m_serial->isOpen() || m_bLost) return;
  if (error == QSerialPort::ReadError) ++m_nReadErrors;
  const bool deviceStillThere = ::access(m_strDevicePath.c_str(), F_OK) == 0;
  if (!IsPortLost(error, deviceStillThere, m_nReadErrors)) {
    m_serial->clearError();
    return;
  }
  CloseAsLost();
}

void CQtSerialPort::CloseAsLost() {
  // A vanished device keeps reporting errors until the port is closed: close it now, once.
  m_bLost = true;
  StopWrites();
  m_serial->close();
  QTimer::singleShot(0, this, [this] {
    if (m_sink) m_sink->OnPortLost();
  });
}

OpenRefusal RefusalOf(QSerialPort::SerialPortError error) {
  // Qt reports a lock file held by another, an exclusive open by another and EACCES all alike.
  if (error == QSerialPort::DeviceNotFoundError) return OpenRefusal::NotFound;
  if (error == QSerialPort::PermissionError) return OpenRefusal::Refused;
  return OpenRefusal::Other;
}

bool IsPortLost(QSerialPort::SerialPortError error, bool deviceStillThere, int readErrorsInARow) {
  if (error == QSerialPort::ResourceError || !deviceStillThere) return true;
  return error == QSerialPort::ReadError && readErrorsInARow >= kReadErrorsBeforeLost;
}

bool WriteAllBounded(int fd, const char* bytes, std::size_t size, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (size > 0) {
    const ssize_t written = ::write(fd, bytes, size);
    if (written > 0) {
      bytes += written;
      size -= static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd room{fd, POLLOUT, 0};
    if (::poll(&room, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) return false;
  }
  return true;
}

bool WaitForOutputDrained(int fd, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  for (;;) {
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) < 0) return false;
    if (queued == 0) break;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  // The driver's queue is empty; what is left sits in the UART's few bytes of FIFO.
  return ::tcdrain(fd) == 0;
}

}  // namespace tolvane
