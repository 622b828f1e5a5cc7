// CPU time of the real tolvane process, connected to tolvane-devsim and idle for 30 s, next to
// the floor of the designed polling alone: two threads that only sleep 10 ms in a loop. Also
// start-up time and RSS next to a bare Qt dialog with as many widgets. Needs an X display (it runs
// itself under xvfb-run when there is none) and xdotool for the click. Never a test.
#include <unistd.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "DevsimProcess.h"
#include "Figures.h"
#include "ProcessFigures.h"
#include "qt/LinuxPortList.h"
#include "qt/QtMainWindow.h"
#include "qt/QtSerialPort.h"
#include "ui/MirlSettingsDlg.h"

namespace {

using namespace tolvane;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kIdleTime = 30s;
constexpr auto kSettleTime = 3s;
constexpr double kTargetFactor = 1.2;

// Top-level windows being mapped, seen from the X server's side.
class CMapWatch {
 public:
  CMapWatch() : m_connection(xcb_connect(nullptr, nullptr)) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(m_connection);
  }
  ~CMapWatch() { xcb_disconnect(m_connection); }
  // Waits for the next top-level window to be mapped; 0 when none comes in time.
  xcb_window_t WaitForMap(std::chrono::seconds bound) {
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

 private:
  xcb_connection_t* m_connection;
};

struct CStartedProgram {
  double startSeconds = -1;  // from exec to its window on the screen
  xcb_window_t window = 0;
};

CStartedProgram StartAndWaitForWindow(QProcess& process, const QString& program, const QStringList& arguments) {
  CMapWatch watch;
  const auto start = Clock::now();
  process.start(program, arguments);
  CStartedProgram started;
  started.window = watch.WaitForMap(30s);
  if (started.window != 0) started.startSeconds = std::chrono::duration<double>(Clock::now() - start).count();
  return started;
}

// The whole process's share of a core over the idle time, and each thread's.
double IdleCpuPercent(pid_t pid, std::string& perThread) {
  const auto before = e2e::ReadThreadCpuSeconds(pid);
  std::this_thread::sleep_for(kIdleTime);
  const auto after = e2e::ReadThreadCpuSeconds(pid);
  const double seconds = std::chrono::duration<double>(kIdleTime).count();
  double total = 0;
  for (const auto& [name, cpu] : after) {
    double ran = cpu;
    for (const auto& [nameBefore, cpuBefore] : before)
      if (nameBefore == name) ran = cpu - cpuBefore;
    total += ran;
    char line[160];
    std::snprintf(line, sizeof line, "      %-28s %6.3f %%\n", name.c_str(), 100 * ran / seconds);
    perThread += line;
  }
  return 100 * total / seconds;
}

void Stop(QProcess& process) {
  process.terminate();
  if (!process.waitForFinished(10'000)) process.kill();
  process.waitForFinished(10'000);
}

// The designed polling and nothing else: two threads that sleep 10 ms in a loop, for ever.
[[noreturn]] void RunPollingFloor() {
  const auto poll = [] {
    for (;;) std::this_thread::sleep_for(10ms);
  };
  std::thread sender(poll), receiver(poll);
  sender.join();
  std::exit(0);
}

// A bare dialog with `widgets` plain widgets, shown until it is closed.
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

struct CWindowFacts {
  int widgets = 0;
  QPoint connectCentre;
};

// The window tolvane will show, built here with the same ports: how many widgets it has and where
// Connect stands.
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

void PrintComparison(const char* what, double measured, double floor, const char* unit, const char* floorName) {
  const bool met = measured <= kTargetFactor * floor;
  std::printf("  %-22s %10.2f %s   %s %.2f %s, target at most %.2f %s (1.2 x): %s (%.2f x)\n", what, measured, unit,
              floorName, floor, unit, kTargetFactor * floor, unit, bench::Verdict(met), measured / floor);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 2 && std::strcmp(argv[1], "--polling-floor") == 0) RunPollingFloor();
  if (argc == 3 && std::strcmp(argv[1], "--bare-dialog") == 0) return RunBareDialog(argc, argv, std::atoi(argv[2]));
  if (qEnvironmentVariableIsEmpty("DISPLAY")) {
    // A display of its own, so one command runs it anywhere.
    std::vector<char*> command{const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), argv[0], nullptr};
    ::execvp("xvfb-run", command.data());
    std::fprintf(stderr, "idle_bench: no display and no xvfb-run (apt-get install xvfb xauth)\n");
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication application(argc, argv);
  QTemporaryDir registry;
  qputenv("TOLVANE_PORT_REGISTRY", registry.path().toLocal8Bit());
  e2e::CDevsimProcess device;
  if (!device.Start()) {
    std::fprintf(stderr, "idle_bench: tolvane-devsim did not come up\n");
    return 1;
  }
  const CWindowFacts facts = LookAtTheWindow();

  QProcess tolvane;
  tolvane.setProcessChannelMode(QProcess::ForwardedChannels);
  const CStartedProgram app = StartAndWaitForWindow(tolvane, TOLVANE_APP_PATH, {});
  if (app.window == 0) {
    std::fprintf(stderr, "idle_bench: tolvane showed no window\n");
    return 1;
  }
  std::this_thread::sleep_for(kSettleTime);
  const long appRss = e2e::ReadProcessFigures(static_cast<pid_t>(tolvane.processId())).rssKiB;
  // Its own start-up picks the simulated device; one click connects.
  const int clicked = QProcess::execute(
      "xdotool", {"mousemove", "--window", QString::number(app.window), QString::number(facts.connectCentre.x()),
                  QString::number(facts.connectCentre.y()), "click", "1"});
  if (clicked != 0) {
    std::fprintf(stderr, "idle_bench: xdotool could not click Connect (apt-get install xdotool)\n");
    return 1;
  }
  const auto answered = Clock::now() + 20s;
  while (!device.HasPrinted("device says COM:open") && Clock::now() < answered)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
  if (!device.HasPrinted("device says COM:open")) {
    std::fprintf(stderr, "idle_bench: the click did not connect\n");
    return 1;
  }
  std::this_thread::sleep_for(kSettleTime);
  std::string appThreads, floorThreads;
  const double appCpu = IdleCpuPercent(static_cast<pid_t>(tolvane.processId()), appThreads);
  Stop(tolvane);

  QProcess floor;
  floor.start(QCoreApplication::applicationFilePath(), {"--polling-floor"});
  floor.waitForStarted();
  std::this_thread::sleep_for(kSettleTime);
  const double floorCpu = IdleCpuPercent(static_cast<pid_t>(floor.processId()), floorThreads);
  Stop(floor);

  QProcess bare;
  const CStartedProgram bareDialog = StartAndWaitForWindow(bare, QCoreApplication::applicationFilePath(),
                                                           {"--bare-dialog", QString::number(facts.widgets)});
  std::this_thread::sleep_for(kSettleTime);
  const long bareRss = e2e::ReadProcessFigures(static_cast<pid_t>(bare.processId())).rssKiB;
  Stop(bare);

  std::printf("tolvane connected to tolvane-devsim (%s), idle; X display %s\n", device.Caption().toStdString().c_str(),
              qgetenv("DISPLAY").constData());
  PrintComparison("CPU while idle 30 s", appCpu, floorCpu, "% of a core", "floor (two threads sleeping 10 ms):");
  std::printf("    by thread:\n%s    the floor, by thread:\n%s", appThreads.c_str(), floorThreads.c_str());
  PrintComparison("start-up to window", 1000 * app.startSeconds, 1000 * bareDialog.startSeconds, "ms",
                  ("bare dialog, " + std::to_string(facts.widgets) + " widgets:").c_str());
  PrintComparison("RSS, window shown", appRss / 1024.0, bareRss / 1024.0, "MiB", "bare dialog:");
  return 0;
}
