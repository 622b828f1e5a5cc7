#include "PortHolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <iostream>

#include "qtserial/LinuxPortList.h"
#include "qtserial/QtSerialPort.h"

namespace tolvane::e2e {

namespace {

constexpr char kHolding[] = "holding";

}  // namespace

CPortHolder::~CPortHolder() { Release(); }

bool CPortHolder::Hold(int portNumber) {
  m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  m_process.start(QCoreApplication::applicationFilePath(), {kHoldPortOption, QString::number(portNumber)});
  const QDeadlineTimer deadline(30'000);
  while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
    if (m_process.canReadLine()) return m_process.readLine().trimmed() == kHolding;
    m_process.waitForReadyRead(100);
  }
  return false;
}

void CPortHolder::Release() {
  if (m_process.state() == QProcess::NotRunning) return;
  m_process.closeWriteChannel();
  if (!m_process.waitForFinished(10'000)) {
    m_process.kill();
    m_process.waitForFinished(10'000);
  }
}

int RunPortHolder(int portNumber) {
  CLinuxPortList ports;
  CQtSerialPort port(ports);
  if (!port.Open(portNumber, port.GetInBufferSize(), port.GetOutBufferSize())) {
    std::cout << "cannot open COM" << portNumber << std::endl;
    return 1;
  }
  std::cout << kHolding << std::endl;
  // Until the test lets go, or goes away itself.
  while (std::cin.get() != std::char_traits<char>::eof()) {
  }
  port.Close();
  return 0;
}

}  // namespace tolvane::e2e
