// tolvane-provision.exe: the production line in a Windows console, on the same engine as on Linux.
#include <cstdio>

#include "engine/ProvisionCommandLine.h"
#include "engine/ProvisionConsole.h"
#include "engine/ProvisionJob.h"
#include "engine/ProvisionStart.h"
#include "res/Strings.h"
#include "win32/ProcessArguments.h"
#include "win32/WinApi.h"
#include "win32/provision/ConsoleStopSignal.h"
#include "win32/provision/Win32ProvisionPlatform.h"
#ifdef TOLVANE_WITH_POOL
#include "pool/ImeiPoolSource.h"
#include "pool/PoolCommand.h"
#endif

namespace tolvane::win32 {

namespace {

#ifndef TOLVANE_WITH_POOL
constexpr char kNoPool[] = "this tolvane-provision.exe was built without the IMEI pool";

std::unique_ptr<IImeiSource> NoPool(const CProvisionOptions&, std::string& error, int& status) {
  error = kNoPool;
  status = kExitUsage;
  return nullptr;
}
#endif

int RunProvision(const std::vector<std::string>& arguments) {
  // The window's boxes, which become report lines, in English.
  SetProcessTextLanguage(TextLanguage::English);
  const CProvisionCommandLine line = ParseProvisionCommandLine(arguments, ComputerName());
  if (line.action != CProvisionCommandLine::EAction::Run) {
    std::fputs((line.text + "\n").c_str(), line.action == CProvisionCommandLine::EAction::ShowHelp ? stdout : stderr);
    return line.exitStatus;
  }
  const CProvisionOptions& options = line.options;
  CWin32ProvisionPlatform platform;
  if (options.listPorts) {
    for (const std::string& caption : platform.Ports().ListPorts()) PrintLine(caption);
    return kExitOk;
  }
  std::string error;
  int status = kExitOk;
#ifdef TOLVANE_WITH_POOL
  std::optional<CProvisionStart> start = PrepareProvision(options, platform.Files(), OpenImeiPoolSource, error, status);
#else
  std::optional<CProvisionStart> start = PrepareProvision(options, platform.Files(), NoPool, error, status);
#endif
  if (!start) return Complain(error, status);

  // The job's own loop needs no messages: its slots' threads pump theirs.
  CEventLoop loop;
  CProvisionJob job(platform, loop, options, std::move(start->profile), std::move(start->imeis), PrintLine);
  int exitStatus = kExitOk;
  job.SetFinishedHandler([&loop, &exitStatus](int finished) {
    exitStatus = finished;
    loop.Quit();
  });
  const CConsoleStopSignal stop([&loop, &job](int count) {
    // The job's thread may be waiting for the pool: the second Ctrl-C ends that wait from here.
    if (count > 1) job.Abandon();
    loop.Post([&job, count] { job.Stop(count); });
  });
  loop.Post([&job] { job.Start(); });
  loop.Run();
  return exitStatus;
}

}  // namespace

}  // namespace tolvane::win32

int main() {
  // Captions and messages are UTF-8, Chinese ones too.
  SetConsoleOutputCP(CP_UTF8);
  const std::vector<std::string> arguments = tolvane::win32::ProcessArguments();
  if (!arguments.empty() && arguments.front() == "pool") {
#ifdef TOLVANE_WITH_POOL
    tolvane::win32::CWin32FileSystem files;
    return tolvane::RunPoolCommand({arguments.begin() + 1, arguments.end()}, tolvane::win32::ComputerName(), files);
#else
    return tolvane::Complain(tolvane::win32::kNoPool, tolvane::kExitUsage);
#endif
  }
  return tolvane::win32::RunProvision(arguments);
}
