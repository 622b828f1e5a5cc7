#include "cli/ProvisionApp.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

#include "pool/ImeiPoolSource.h"
#include "cli/LinuxProvisionPlatform.h"
#include "engine/ProvisionCommandLine.h"
#include "engine/ProvisionConsole.h"
#include "engine/ProvisionStart.h"
#include "posix/HostName.h"
#include "posix/StopSignal.h"
#include "engine/ProvisionJob.h"
#include "qtserial/QtEventLoop.h"
#include "res/Strings.h"

namespace tolvane {

int RunProvision(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tolvane-provision"));
  // The window's boxes, which become report lines, in English.
  SetProcessTextLanguage(TextLanguage::English);
  // A reader that goes away (| head) must not end a run with the link open.
  std::signal(SIGPIPE, SIG_IGN);

  const CProvisionCommandLine line = ParseProvisionCommandLine(std::vector<std::string>(argv + 1, argv + argc), HostName());
  if (line.action != CProvisionCommandLine::EAction::Run) {
    std::fputs((line.text + "\n").c_str(), line.action == CProvisionCommandLine::EAction::ShowHelp ? stdout : stderr);
    return line.exitStatus;
  }
  const std::optional<CProvisionOptions> options = line.options;
  if (options->listPorts) {
    CLinuxPortList ports;
    for (const std::string& caption : ports.ListPorts()) PrintLine(caption);
    return kExitOk;
  }

  CLinuxProvisionPlatform platform;
  std::string error;
  int status = kExitOk;
  std::optional<CProvisionStart> start = PrepareProvision(*options, platform.Files(), OpenImeiPoolSource, error, status);
  if (!start) return Complain(error, status);

  CQtEventLoop loop;
  CProvisionJob job(platform, loop, *options, std::move(start->profile), std::move(start->imeis), PrintLine);
  job.SetFinishedHandler([](int exitStatus) { QCoreApplication::exit(exitStatus); });
  const CStopSignal stop([&loop, &job](int count) {
    // The job's thread may be waiting for the pool: the second Ctrl-C ends that wait from here.
    if (count > 1) job.Abandon();
    loop.Post([&job, count] { job.Stop(count); });
  });
  loop.Post([&job] { job.Start(); });
  return QCoreApplication::exec();
}

}  // namespace tolvane
