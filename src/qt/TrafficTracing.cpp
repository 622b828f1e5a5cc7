#include "qt/TrafficTracing.h"

#include <QStringList>

namespace tolvane {

CTrafficTracing::CTrafficTracing(CTrafficTrace& trace, TextLanguage language, QObject* parent)
    : QObject(parent), m_language(language), m_feed(trace, language, [this](bool run) {
        if (run)
          m_pump.start();
        else
          m_pump.stop();
      }) {
  m_pump.setInterval(CTraceFeed::kPumpMs);
  connect(&m_pump, &QTimer::timeout, this, &CTrafficTracing::Drain);
  m_feed.AddView(m_windowView);
  m_feed.AddView(m_file);
}

bool CTrafficTracing::OpenFile(const QString& path, QString& errorText) {
  if (!m_file.Open(path, errorText)) return false;
  m_feed.UpdateRecording();
  return true;
}

void CTrafficTracing::AttachTo(CQtMainWindow& window) {
  m_pMainWindow = &window;
  window.AddMenuAction(QString::fromStdString(LoadString(IDS_TRAFFIC_MENU, m_language)), [this] { ShowWindow(); });
}

void CTrafficTracing::ShowWindow() {
  if (!m_pWindow) {
    m_pWindow = new CTraceWindow(m_language, m_pMainWindow);
    connect(m_pWindow, &QDialog::finished, this, [this] { m_feed.AfterListening(); });
  }
  m_feed.BeforeListening(m_windowView);
  m_pWindow->show();
  m_pWindow->raise();
  m_pWindow->activateWindow();
  m_feed.UpdateRecording();
}

bool CTrafficTracing::CWindowView::Show(const std::vector<std::string>& lines) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) texts << QString::fromStdString(line);
  m_window->AppendLines(texts);
  return true;
}

}  // namespace tolvane
