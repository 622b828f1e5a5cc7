#include "ProgramWindow.h"

#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "qtserial/LinuxPortList.h"
#include "qt/QtMainWindow.h"
#include "qtserial/QtSerialPort.h"
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

namespace {

// The plain Qt class a control is made of; empty for a container of other controls.
QString KindOf(const QWidget& widget) {
  if (qobject_cast<const QComboBox*>(&widget)) return "combo";
  if (qobject_cast<const QTableWidget*>(&widget)) return "table";
  if (qobject_cast<const QPlainTextEdit*>(&widget)) return "text";
  if (qobject_cast<const QLineEdit*>(&widget)) return "edit";
  if (qobject_cast<const QPushButton*>(&widget)) return "button";
  if (qobject_cast<const QLabel*>(&widget)) return "label";
  if (qobject_cast<const QGroupBox*>(&widget)) return "group";
  if (qobject_cast<const QFrame*>(&widget)) return "frame";
  return {};
}

void DescribeControls(const QWidget& parent, QPoint offset, QStringList& controls) {
  for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const QRect place = child->geometry().translated(offset);
    const QString kind = KindOf(*child);
    if (kind.isEmpty()) {
      DescribeControls(*child, place.topLeft(), controls);
      continue;
    }
    controls << QStringLiteral("%1 %2 %3 %4 %5 %6")
                    .arg(kind)
                    .arg(place.x())
                    .arg(place.y())
                    .arg(place.width())
                    .arg(place.height())
                    .arg(child->isHidden() ? 0 : 1);
  }
}

QWidget* MakePlainControl(const QString& kind, QWidget* parent) {
  if (kind == "combo") {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    return combo;
  }
  if (kind == "table") {
    auto* table = new QTableWidget(0, 3, parent);
    table->setHorizontalHeaderLabels({"Name", "Address", "Status"});
    return table;
  }
  if (kind == "text") return new QPlainTextEdit(parent);
  if (kind == "edit") return new QLineEdit(parent);
  if (kind == "button") return new QPushButton("Button", parent);
  if (kind == "label") return new QLabel("Label:", parent);
  if (kind == "group") return new QGroupBox(parent);
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Box);
  return frame;
}

}  // namespace

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
  QStringList controls;
  DescribeControls(window, {}, controls);
  facts.controls = controls.join(';');
  facts.size = window.size();
  dialog.OnDestroy();
  return facts;
}

int RunBareDialog(int argc, char* argv[], const QString& controls, QSize size) {
  QApplication application(argc, argv);
  QDialog dialog;
  for (const QString& control : controls.split(';', Qt::SkipEmptyParts)) {
    const QStringList fields = control.split(' ');
    if (fields.size() != 6) continue;
    QWidget* widget = MakePlainControl(fields[0], &dialog);
    widget->setGeometry(fields[1].toInt(), fields[2].toInt(), fields[3].toInt(), fields[4].toInt());
    widget->setHidden(fields[5] == "0");
  }
  dialog.setFixedSize(size);
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
