#include "qt/TrafficTracing.h"

#include <QStringList>
#include <cstdio>

namespace tolvane {

CTrafficTracing::CTrafficTracing(CTrafficTrace& trace, TextLanguage language, QObject* parent)
    : QObject(parent), m_trace(trace), m_language(language) {
  m_pump.setInterval(kPumpMs);
  connect(&m_pump, &QTimer::timeout, this, &CTrafficTracing::Drain);
}

CTrafficTracing::~CTrafficTracing() {
  // The last lines of the run belong in the file too.
  Drain();
  m_trace.SetRecording(false);
}

bool CTrafficTracing::OpenFile(const QString& path, QString& errorText) {
  m_file.setFileName(path);
  if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
    errorText = m_file.errorString();
    return false;
  }
  UpdateRecording();
  return true;
}

void CTrafficTracing::AttachTo(CQtMainWindow& window) {
  m_pMainWindow = &window;
  window.AddMenuAction(QString::fromStdString(LoadString(IDS_TRAFFIC_MENU, m_language)), [this] { ShowWindow(); });
}

void CTrafficTracing::ShowWindow() {
  if (!m_pWindow) {
    m_pWindow = new CTraceWindow(m_language, m_pMainWindow);
    // What was recorded while it was open is shown before it goes.
    connect(m_pWindow, &QDialog::finished, this, [this] {
      Drain();
      UpdateRecording();
    });
  }
  if (!m_pWindow->isVisible()) Drain();  // lines from before it opened belong to the file only
  m_pWindow->show();
  m_pWindow->raise();
  m_pWindow->activateWindow();
  UpdateRecording();
}

void CTrafficTracing::UpdateRecording() {
  const bool listening = m_file.isOpen() || (m_pWindow && m_pWindow->isVisible());
  m_trace.SetRecording(listening);
  if (listening && !m_pump.isActive()) m_pump.start();
  if (!listening) m_pump.stop();
}

void CTrafficTracing::Drain() {
  std::size_t leftOut = 0;
  const std::vector<CTraceEntry> entries = m_trace.Take(leftOut);
  if (entries.empty() && leftOut == 0) return;
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(entries.size()) + 1);
  for (const CTraceEntry& entry : entries) lines << QString::fromStdString(FormatTraceLine(entry));
  if (leftOut > 0)
    lines << QString::fromStdString(FormatString(LoadString(IDS_TRAFFIC_LEFT_OUT), std::to_string(leftOut)));
  if (m_pWindow && m_pWindow->isVisible()) m_pWindow->AppendLines(lines);
  if (!m_file.isOpen()) return;
  const QByteArray text = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
  if ((m_file.write(text) != text.size() || !m_file.flush()) && !m_bFileFailed) {
    // Said once, where the user who asked for the file will look.
    m_bFileFailed = true;
    std::fprintf(stderr, "tolvane: the trace could not be written to %s: %s\n", qPrintable(m_file.fileName()),
                 qPrintable(m_file.errorString()));
  }
}

}  // namespace tolvane
