// tolvane-linksoak: connect/close cycles and line faults against the real window and port.
// Prints figures; it is not a test.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CycleSoak.h"
#include "FaultModes.h"
#include "FaultReport.h"
#include "PortHolder.h"

namespace {

constexpr char kUsage[] =
    "Usage: tolvane-linksoak [--cycles N] [--faults-only | --cycles-only]\n"
    "\n"
    "Runs N connect -> ready -> close cycles (default 10000) against tolvane-devsim through the\n"
    "real serial port and the real window (offscreen), printing open files, threads and RSS at the\n"
    "start, every 1000 cycles and at the end. Then runs each line fault in a process of its own and\n"
    "prints whether it ended in a defined outcome, a hang or a crash, with messages handled and RSS:\n"
    "unplug mid-stream, garbage, split, a flood without \"~\", NUL bytes, split UTF-8, a port held\n"
    "by another program, and permission denied (as root, the opening side runs as nobody).\n";

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The offscreen platform's notes about window hints would break up the tables.
  if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
  // Results are read line by line by the parent run, and by whoever watches a long soak.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QApplication application(argc, argv);
  using namespace tolvane::linksoak;

  int cycles = 10'000;
  bool runCycles = true, runFaults = true;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == tolvane::e2e::kHoldPortOption && hasValue) return tolvane::e2e::RunPortHolder(std::atoi(argv[i + 1]));
    if (option == "--fault" && hasValue) return RunFaultMode(argv[i + 1]);
    if (option == "--open-as-this-user" && hasValue) return RunOpenAsThisUser(argv[i + 1]);
    if (option == "--cycles" && hasValue) {
      cycles = std::atoi(argv[++i]);
    } else if (option == "--faults-only") {
      runCycles = false;
    } else if (option == "--cycles-only") {
      runFaults = false;
    } else {
      std::fputs(kUsage, option == "--help" || option == "-h" ? stdout : stderr);
      return option == "--help" || option == "-h" ? 0 : 2;
    }
  }
  int status = 0;
  if (runCycles && cycles > 0) status |= RunCycleSoak(cycles);
  if (runCycles && runFaults) std::printf("\n");
  if (runFaults) status |= RunFaultReport();
  return status;
}
