// tolvane-devsim: a simulated Mirl intercom on a pseudo-terminal.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <random>

#include "DeviceKeys.h"
#include "DevsimLoop.h"
#include "DevsimOptions.h"
#include "LineWriter.h"
#include "PseudoTerminal.h"
#include "link/PortNaming.h"
#include "posix/SimulatedPortRegistry.h"

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;

void OnStopSignal(int) { g_stopRequested = 1; }

// Blocks the stop signals and returns the mask that lets them in while the loop waits.
sigset_t InstallStopSignals() {
  sigset_t stopSignals, waitMask;
  sigemptyset(&stopSignals);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stopSignals, signal);
  sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
  sigdelset(&waitMask, SIGINT);
  sigdelset(&waitMask, SIGTERM);
  sigdelset(&waitMask, SIGHUP);

  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
  // A console that went away must not kill the device.
  std::signal(SIGPIPE, SIG_IGN);
  return waitMask;
}

std::string DescribeFaults(const tolvane::devsim::CDevsimOptions& options, unsigned seed) {
  std::string text;
  const auto add = [&text](const std::string& fault) { text += (text.empty() ? "" : ", ") + fault; };
  if (options.bSilent) add("silent");
  const auto keys = [](const std::set<std::string>& set) {
    std::string list;
    for (const std::string& key : set) list += (list.empty() ? "" : ",") + key;
    return list;
  };
  if (!options.refuseKeys.empty()) add("refuse " + keys(options.refuseKeys));
  if (!options.ignoreKeys.empty()) add("ignore " + keys(options.ignoreKeys));
  if (options.faults.bSplit) add("split");
  if (options.faults.bGarbage) add("garbage");
  if (options.faults.delay.count() > 0) add("delay " + std::to_string(options.faults.delay.count()) + " ms");
  if (options.nUnplugAfter > 0) add("unplug after " + std::to_string(options.nUnplugAfter) + " commands");
  if (options.faults.bSplit || options.faults.bGarbage) add("seed " + std::to_string(seed));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tolvane;
  using namespace tolvane::devsim;

  std::string errorText;
  const auto options = ParseDevsimOptions(std::vector<std::string>(argv + 1, argv + argc), errorText);
  if (!options) {
    std::cerr << "tolvane-devsim: " << errorText << "\nTry tolvane-devsim --help.\n";
    return 2;
  }
  if (options->bHelp) {
    std::cout << DevsimUsage();
    return 0;
  }
  const sigset_t waitMask = InstallStopSignals();
  if (options->bExitWithParent) {
    const pid_t parent = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) return 0;  // it went before the request took hold
  }

  std::unique_ptr<CPseudoTerminal> line = CPseudoTerminal::Open(errorText);
  if (!line) {
    std::cerr << "tolvane-devsim: " << errorText << '\n';
    return 1;
  }
  CSimulatedPortRegistry registry(options->strRegistryDirectory.empty() ? CSimulatedPortRegistry::DefaultDirectory()
                                                                        : options->strRegistryDirectory);
  std::unique_ptr<CSimulatedPortRegistration> registration = registry.Register(line->PcPath(), errorText);
  if (!registration) {
    std::cerr << "tolvane-devsim: " << errorText << '\n';
    return 1;
  }

  const unsigned seed = options->seed.value_or(std::random_device{}());
  const std::string device = registration->Device();
  std::cout << "tolvane-devsim: " << PortCaption(ComNumberForDevice(device), device) << " at " << line->PcPath()
            << std::endl;
  if (const std::string faults = DescribeFaults(*options, seed); !faults.empty())
    std::cout << "tolvane-devsim: faults: " << faults << std::endl;

  CDeviceModel model;
  AddDeviceKeys(model, *options);
  CLineWriter writer(options->faults, seed);
  CDevsimLoop loop(*options, *line, model, writer, std::cout);
  const CDevsimLoop::Outcome outcome = loop.Run(g_stopRequested, waitMask);

  // Out of the list before the line drops, so no one picks a port that is about to vanish.
  registration.reset();
  line->Unplug();
  switch (outcome) {
    case CDevsimLoop::Outcome::Stopped: std::cout << "tolvane-devsim: stopped" << std::endl; return 0;
    case CDevsimLoop::Outcome::Unplugged: std::cout << "tolvane-devsim: unplugged" << std::endl; return 0;
    case CDevsimLoop::Outcome::LineLost: std::cerr << "tolvane-devsim: the line failed" << std::endl; return 1;
  }
  return 1;
}
