#include "DevsimProcess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

namespace tolvane::e2e {

CDevsimProcess::CDevsimProcess(QStringList arguments) : m_arguments(std::move(arguments)) {
  // Its notes are read here; its complaints belong in the test log.
  m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  m_process.setReadChannel(QProcess::StandardOutput);
}

CDevsimProcess::~CDevsimProcess() {
  if (!IsRunning()) return;
  m_process.terminate();
  if (!m_process.waitForFinished(10'000)) {
    m_process.kill();
    m_process.waitForFinished(10'000);
  }
}

bool CDevsimProcess::Start() {
  m_process.start(QStringLiteral(TOLVANE_DEVSIM_PATH), QStringList(m_arguments)
                                                           << QStringLiteral("--exit-with-parent"));
  if (!m_process.waitForStarted(30'000)) return false;
  static const QRegularExpression announcement(QStringLiteral("tolvane-devsim: ((COM(\\d+)) \\(\\S+\\)) at (\\S+)\\n"));
  const QDeadlineTimer deadline(30'000);
  while (!deadline.hasExpired()) {
    const QRegularExpressionMatch match = announcement.match(Output());
    if (match.hasMatch()) {
      m_strCaption = match.captured(1);
      m_nComNumber = match.captured(3).toInt();
      m_strTerminalPath = match.captured(4);
      return true;
    }
    if (!IsRunning()) return false;
    m_process.waitForReadyRead(100);
  }
  return false;
}

void CDevsimProcess::Say(const QString& line) { m_process.write((line + '\n').toUtf8()); }

QString CDevsimProcess::Output() {
  m_strOutput += QString::fromUtf8(m_process.readAllStandardOutput());
  return m_strOutput;
}

}  // namespace tolvane::e2e
