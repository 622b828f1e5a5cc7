#include "app/MirlSettingsApp.h"

#include <QApplication>
#include <cstdio>

#include "app/AboutDlg.h"
#include "app/CommandLine.h"
#include "qt/DeviceMemory.h"
#include "qt/LinuxPortList.h"
#include "qt/QtAppIcon.h"
#include "qt/QtMainWindow.h"
#include "qt/QtSerialPort.h"
#include "qt/TrafficTracing.h"
#include "res/DialogTemplates.h"
#include "res/Strings.h"
#include "ui/MirlSettingsDlg.h"

namespace tolvane {

bool CMirlSettingsApp::InitInstance() {
  // Whatever the system's language, the window and every message come up in English, unless the
  // user asked for Chinese.
  SetProcessTextLanguage(TextLanguage::English);
  // Before the window system is touched, so --help works without a display.
  QStringList arguments;
  for (int i = 0; i < m_argc; ++i) arguments << QString::fromLocal8Bit(m_argv[i]);
  if (PrintInformationIfAsked(arguments)) return false;

  QApplication application(m_argc, m_argv);
  QApplication::setApplicationName(QString::fromUtf8(kApplicationName));
  QApplication::setApplicationVersion(QStringLiteral(TOLVANE_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("tolvane"));
  QApplication::setWindowIcon(AppIcon());
  const std::optional<CCommandLine> commandLine = ParseCommandLine(QApplication::arguments(), m_nExitCode);
  if (!commandLine) return false;
  SetProcessTextLanguage(commandLine->language);

  // Outlives the link's threads, which record into it, and the tracing that takes from it.
  CTrafficTrace trace;
  CTrafficTracing tracing(trace, GetThreadTextLanguage());
  if (!commandLine->traceFile.isEmpty()) {
    QString errorText;
    if (!tracing.OpenFile(commandLine->traceFile, errorText)) {
      std::fprintf(stderr, "tolvane: cannot write the trace to %s: %s\n", qPrintable(commandLine->traceFile),
                   qPrintable(errorText));
      m_nExitCode = 2;
      return false;
    }
  }

  CDeviceMemory memory;
  CLinuxPortList portList({}, &memory);
  CQtSerialPort port(portList);
  CQtMainWindow window(GetThreadTextLanguage());
  // Declared after the window, so it goes first: its threads stop before the window does.
  CMirlSettingsDlg dialog(window, port, portList);
  window.AttachDialog(&dialog);
  dialog.SetTrafficTrace(&trace);
  tracing.AttachTo(window);
  window.SetAboutBoxRunner([](QWidget& parent) {
    CAboutDlg about(&parent);
    about.exec();
  });
  dialog.OnInitDialog();
  window.exec();
  // Normally a no-op; after a quit from outside the window it still closes the link.
  window.reject();
  return false;
}

}  // namespace tolvane
