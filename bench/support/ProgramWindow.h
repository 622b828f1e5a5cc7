#pragma once

// The real program watched from outside: when the X server maps its window, and a bare Qt dialog
// with as many widgets to hold it against.
#include <xcb/xcb.h>

#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QStringList>
#include <chrono>

namespace tolvane::bench {

// Top-level windows being mapped, seen from the X server's side.
class CMapWatch {
 public:
  CMapWatch();
  ~CMapWatch();
  CMapWatch(const CMapWatch&) = delete;
  CMapWatch& operator=(const CMapWatch&) = delete;
  // Waits for the next top-level window to be mapped; 0 when none comes in time.
  xcb_window_t WaitForMap(std::chrono::seconds bound);

 private:
  xcb_connection_t* m_connection;
};

struct CStartedProgram {
  double startSeconds = -1;  // from exec to its window on the screen
  xcb_window_t window = 0;
};

CStartedProgram StartAndWaitForWindow(QProcess& process, const QString& program, const QStringList& arguments);
void StopProcess(QProcess& process);

// What tolvane will show, built here with the same ports: how many widgets, where Connect is, and
// the controls as plain Qt classes in their places ("combo 10 5 80 20 1;table …", the last field
// 0 for a hidden one), for a bare dialog.
struct CWindowFacts {
  int widgets = 0;
  QPoint connectCentre;
  QString controls;
  QSize size;
};
CWindowFacts LookAtTheWindow();

// Shows a bare dialog with the same controls as plain Qt widgets, none of the work behind them,
// until it is closed.
int RunBareDialog(int argc, char* argv[], const QString& controls, QSize size);

// Runs the benchmark again under xvfb-run when there is no display; returns only if it has one.
void EnsureDisplay(int argc, char* argv[], const char* benchName);

}  // namespace tolvane::bench
