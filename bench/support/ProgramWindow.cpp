#include "ProgramWindow.h"

#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "qt/LinuxPortList.h"
#include "qt/QtMainWindow.h"
#include "qt/QtSerialPort.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane::bench {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

CMapWatch::CMapWatch() : m_connection(xcb_connect(nullptr, nullptr)) {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
  const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(m_connection);
}

CMapWatch::~CMapWatch() { xcb_disconnect(m_connection); }

xcb_window_t CMapWatch::WaitForMap(std::chrono::seconds bound) {
  const auto deadline = Clock::now() + bound;
  while (Clock::now() < deadline) {
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
      const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
      const xcb_window_t window = mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
      std::free(event);
      if (mapped) return window;
    }
    std::this_thread::sleep_for(200us);
  }
  return 0;
}

CStartedProgram StartAndWaitForWindow(QProcess& process, const QString& program, const QStringList& arguments) {
  CMapWatch watch;
  const auto start = Clock::now();
  process.start(program, arguments);
  CStartedProgram started;
  started.window = watch.WaitForMap(30s);
  if (started.window != 0) started.startSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  return started;
}

void StopProcess(QProcess& process) {
  process.terminate();
  if (!process.waitForFinished(10'000)) process.kill();
  process.waitForFinished(10'000);
}

CWindowFacts LookAtTheWindow() {
  CLinuxPortList ports;
  CQtSerialPort port(ports);
  CQtMainWindow window;
  CMirlSettingsDlg dialog(window, port, ports);
  window.AttachDialog(&dialog);
  dialog.OnInitDialog();
  CWindowFacts facts;
  facts.widgets = static_cast<int>(window.findChildren<QWidget*>().size());
  facts.connectCentre = window.Control(IDC_CONNECT)->geometry().center();
  dialog.OnDestroy();
  return facts;
}

int RunBareDialog(int argc, char* argv[], int widgets) {
  QApplication application(argc, argv);
  QDialog dialog;
  for (int i = 0; i < widgets; ++i) {
    QWidget* widget = i % 2 ? static_cast<QWidget*>(new QPushButton("Button", &dialog)) : new QLineEdit(&dialog);
    widget->setGeometry(10 + (i % 8) * 90, 10 + (i / 8) * 30, 85, 25);
  }
  dialog.resize(760, 10 + (widgets / 8 + 1) * 30);
  dialog.show();
  return dialog.exec();
}

void EnsureDisplay(int argc, char* argv[], const char* benchName) {
  if (!qEnvironmentVariableIsEmpty("DISPLAY")) return;
  std::vector<char*> command{const_cast<char*>("xvfb-run"), const_cast<char*>("-a")};
  command.insert(command.end(), argv, argv + argc);
  command.push_back(nullptr);
  ::execvp("xvfb-run", command.data());
  std::fprintf(stderr, "%s: no display and no xvfb-run (apt-get install xvfb xauth)\n", benchName);
  std::exit(1);
}

}  // namespace tolvane::bench
