#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "link/TraceFeed.h"
#include "qt/QtMainWindow.h"
#include "qt/TraceFile.h"
#include "qt/TraceWindow.h"
#include "res/Strings.h"

namespace tolvane {

// The trace feed on Qt: its pump on a timer, the traffic window while it is open and the trace file
// from start-up on.
class CTrafficTracing : public QObject {
  Q_OBJECT

 public:
  CTrafficTracing(CTrafficTrace& trace, TextLanguage language, QObject* parent = nullptr);

  // Appends every line to the file from now on. False, with the reason, when it cannot be written.
  bool OpenFile(const QString& path, QString& errorText);
  // Puts "Traffic…" in the window's menu; the traffic window belongs to that window.
  void AttachTo(CQtMainWindow& window);
  // Opens the traffic window, or brings it to the front.
  void ShowWindow();
  // Null until first opened.
  CTraceWindow* Window() const { return m_pWindow; }
  // Hands out what is waiting now; the pump does it by itself.
  void Drain() { m_feed.Drain(); }

 private:
  // The traffic window, which may go with the main window before the feed does.
  class CWindowView : public ITraceView {
   public:
    explicit CWindowView(const QPointer<CTraceWindow>& window) : m_window(window) {}
    bool IsListening() const override { return m_window && m_window->isVisible(); }
    bool Show(const std::vector<std::string>& lines) override;

   private:
    const QPointer<CTraceWindow>& m_window;
  };

  TextLanguage m_language;
  QTimer m_pump;
  QPointer<CQtMainWindow> m_pMainWindow;
  QPointer<CTraceWindow> m_pWindow;
  CWindowView m_windowView{m_pWindow};
  CTraceFile m_file;
  // Last, so it goes first: the last lines reach the views.
  CTraceFeed m_feed;
};

}  // namespace tolvane
