#include "cli/ProvisionApp.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>

#include "engine/ImeiListSource.h"
#include "pool/ImeiPoolSource.h"
#include "cli/LinuxProvisionPlatform.h"
#include "engine/ProvisionCommandLine.h"
#include "posix/HostName.h"
#include "posix/StopSignal.h"
#include "engine/ProvisionJob.h"
#include "qtserial/QtEventLoop.h"
#include "res/Strings.h"

namespace tolvane {

namespace {

void PrintLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  // Whoever reads a pipe sees each step as it ends.
  std::fflush(stdout);
}

int Complain(const std::string& text, int status) {
  std::fprintf(stderr, "tolvane-provision: %s\n", text.c_str());
  return status;
}

}  // namespace

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
  std::optional<CProfile> profile = ReadProfile(options->profilePath, error);
  if (!profile) return Complain(error, kExitProfile);
  if (options->imei) profile->imei = options->imei;
  if (profile->factoryReset && !options->yes && !options->dryRun)
    return Complain(options->profilePath + " asks for a factory reset: add --yes to confirm it", kExitUsage);
  if (profile->imei && options->comNumbers.size() > 1 && options->imeiListPath.empty() && options->poolAddress.empty())
    return Complain(options->profilePath + " holds one imei, which would go into every device: take them from "
                                           "--imei-list or --pool instead",
                    kExitUsage);
  std::unique_ptr<IImeiSource> imeis;
  if (!options->imeiListPath.empty()) {
    std::optional<CImeiList> list = CImeiList::Read(options->imeiListPath, platform.Files(), error);
    if (!list) return Complain(error, kExitProfile);
    imeis = std::make_unique<CImeiListSource>(std::move(*list), options->imeiListPath);
  } else if (!options->poolAddress.empty()) {
    const std::optional<CPoolAddress> address = ParsePoolAddress(options->poolAddress, error);
    if (!address) return Complain(error, kExitUsage);
    std::unique_ptr<CImeiPool> pool = CImeiPool::Open(*address, false, error);
    if (!pool || !pool->IsPool(error)) return Complain(error, kExitPool);
    imeis = std::make_unique<CImeiPoolSource>(std::move(pool), options->poolAddress, options->station);
  }

  CQtEventLoop loop;
  CProvisionJob job(platform, loop, *options, std::move(*profile), std::move(imeis), PrintLine);
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
