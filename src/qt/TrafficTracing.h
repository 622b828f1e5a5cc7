#pragma once

#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "link/TrafficTrace.h"
#include "qt/QtMainWindow.h"
#include "qt/TraceWindow.h"
#include "res/Strings.h"

namespace tolvane {

// Takes what the link records on the window's thread, a few times a second, and hands the lines to
// the traffic window while it is open and to the trace file from start-up on. The trace records
// only while one of them listens.
class CTrafficTracing : public QObject {
  Q_OBJECT

 public:
  static constexpr int kPumpMs = 100;

  CTrafficTracing(CTrafficTrace& trace, TextLanguage language, QObject* parent = nullptr);
  ~CTrafficTracing() override;

  // Appends every line to the file from now on. False, with the reason, when it cannot be written.
  bool OpenFile(const QString& path, QString& errorText);
  // Puts "Traffic…" in the window's menu; the traffic window belongs to that window.
  void AttachTo(CQtMainWindow& window);
  // Opens the traffic window, or brings it to the front.
  void ShowWindow();
  // Null until first opened.
  CTraceWindow* Window() const { return m_pWindow; }
  // Hands out what is waiting now; the pump does it by itself.
  void Drain();

 private:
  void UpdateRecording();

  CTrafficTrace& m_trace;
  TextLanguage m_language;
  QTimer m_pump;
  QFile m_file;
  bool m_bFileFailed = false;
  QPointer<CQtMainWindow> m_pMainWindow;
  QPointer<CTraceWindow> m_pWindow;
};

}  // namespace tolvane
