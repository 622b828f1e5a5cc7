#include "app/MirlSettingsApp.h"

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/AboutDlg.h"
#include "qt/DeviceMemory.h"
#include "qtserial/LinuxPortList.h"
#include "qt/QtAppIcon.h"
#include "qt/QtMainWindow.h"
#include "qtserial/QtSerialPort.h"
#include "qt/TrafficTracing.h"
#include "res/DialogTemplates.h"
#include "res/Strings.h"
#include "shell/CommandLine.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {
namespace {

// After the program's name.
std::vector<std::string> Arguments(const QStringList& arguments) {
  std::vector<std::string> taken;
  for (qsizetype i = 1; i < arguments.size(); ++i) taken.push_back(arguments[i].toStdString());
  return taken;
}

// Help and version on standard output, a refusal on standard error.
void Tell(const CCommandLine& answer) {
  if (answer.action == CCommandLine::EAction::Refuse)
    std::fprintf(stderr, "tolvane: %s\n", answer.text.c_str());
  else
    std::printf("%s\n", answer.text.c_str());
}

}  // namespace

bool CMirlSettingsApp::InitInstance() {
  // Whatever the system's language, the window and every message come up in English, unless the
  // user asked for Chinese.
  SetProcessTextLanguage(TextLanguage::English);
  // Before the window system is touched, so --help works without a display. Qt's own options are
  // still among the arguments here: only help and version count.
  QStringList arguments;
  for (int i = 0; i < m_argc; ++i) arguments << QString::fromLocal8Bit(m_argv[i]);
  const CCommandLine asked = ParseCommandLine(Arguments(arguments), EProgram::Tolvane);
  if (asked.action == CCommandLine::EAction::ShowHelp || asked.action == CCommandLine::EAction::ShowVersion) {
    Tell(asked);
    return false;
  }

  QApplication application(m_argc, m_argv);
  QApplication::setApplicationName(QString::fromUtf8(kApplicationName));
  QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("tolvane"));
  QApplication::setWindowIcon(AppIcon());
  const CCommandLine commandLine = ParseCommandLine(Arguments(QApplication::arguments()), EProgram::Tolvane);
  if (commandLine.action != CCommandLine::EAction::Run) {
    Tell(commandLine);
    m_nExitCode = commandLine.exitStatus;
    return false;
  }
  SetProcessTextLanguage(commandLine.language);

  // Outlives the link's threads, which record into it, and the tracing that takes from it.
  CTrafficTrace trace;
  CTrafficTracing tracing(trace, GetThreadTextLanguage());
  if (!commandLine.traceFile.empty()) {
    const QString traceFile = QString::fromStdString(commandLine.traceFile);
    QString errorText;
    if (!tracing.OpenFile(traceFile, errorText)) {
      std::fprintf(stderr, "tolvane: cannot write the trace to %s: %s\n", qPrintable(traceFile), qPrintable(errorText));
      m_nExitCode = 2;
      return false;
    }
  }

  CDeviceMemory memory;
  CLinuxPortList portList({}, &memory);
  // The ports are listed while the window is built; the dialog's start-up takes that listing.
  portList.ListInAdvance();
  CQtSerialPort port(portList);
  CQtMainWindow window(GetThreadTextLanguage());
  // Declared after the window, so it goes first: its threads stop before the window does.
  CMirlSettingsDlg dialog(window, port, portList);
  window.AttachDialog(&dialog);
  dialog.SetTrafficTrace(&trace);
  tracing.AttachTo(window);
  window.SetAboutBoxRunner(RunAboutBoxOver);
  dialog.OnInitDialog();
  window.exec();
  // Normally a no-op; after a quit from outside the window it still closes the link.
  window.reject();
  return false;
}

}  // namespace tolvane
