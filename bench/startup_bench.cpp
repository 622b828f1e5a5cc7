// Start-up and resident memory of the real tolvane next to a bare Qt dialog with the same controls
// as plain Qt widgets in the same places, without the work behind them (no templates, fitting,
// captions, ports or pictures). The two are started in turns on one display, the order swapped each
// round: start-up from exec until the X server maps the window, RSS a moment after. Medians over the rounds. Needs an X display (it runs
// itself under xvfb-run when there is none). Never a test.
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "DevsimProcess.h"
#include "Figures.h"
#include "ProcessFigures.h"
#include "ProgramWindow.h"

namespace {

using namespace tolvane;
using namespace std::chrono_literals;

constexpr int kRounds = 20;
constexpr auto kSettleTime = 2s;
constexpr double kTargetFactor = 1.2;

struct CSample {
  double startMs = -1;
  double rssMiB = -1;
};

CSample StartOnce(const QString& program, const QStringList& arguments) {
  QProcess process;
  const bench::CStartedProgram started = bench::StartAndWaitForWindow(process, program, arguments);
  CSample sample;
  if (started.window != 0) {
    sample.startMs = 1000 * started.startSeconds;
    std::this_thread::sleep_for(kSettleTime);
    sample.rssMiB = e2e::ReadProcessFigures(static_cast<pid_t>(process.processId())).rssKiB / 1024.0;
  }
  bench::StopProcess(process);
  return sample;
}

void PrintComparison(const char* what, const std::vector<double>& program, const std::vector<double>& bare,
                     const char* unit) {
  const double measured = bench::Percentile(program, 0.5);
  const double floor = bench::Percentile(bare, 0.5);
  std::printf("  %-20s tolvane %8.2f %s, bare dialog %8.2f %s: %.2f x, target at most %.1f x: %s\n", what, measured,
              unit, floor, unit, measured / floor, kTargetFactor, bench::Verdict(measured <= kTargetFactor * floor));
  std::printf("    tolvane     min %.2f max %.2f; bare dialog min %.2f max %.2f\n", bench::Percentile(program, 0),
              bench::Maximum(program), bench::Percentile(bare, 0), bench::Maximum(bare));
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 5 && std::strcmp(argv[1], "--bare-dialog") == 0)
    return bench::RunBareDialog(argc, argv, QString::fromUtf8(argv[2]), QSize(std::atoi(argv[3]), std::atoi(argv[4])));
  bench::EnsureDisplay(argc, argv, "startup_bench");
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication application(argc, argv);
  // The simulated device stands where a real one would: tolvane lists it and picks it.
  QTemporaryDir registry;
  qputenv("TOLVANE_PORT_REGISTRY", registry.path().toLocal8Bit());
  e2e::CDevsimProcess device;
  if (!device.Start()) {
    std::fprintf(stderr, "startup_bench: tolvane-devsim did not come up\n");
    return 1;
  }
  const bench::CWindowFacts facts = bench::LookAtTheWindow();
  const QStringList bareArguments{"--bare-dialog", facts.controls, QString::number(facts.size.width()),
                                  QString::number(facts.size.height())};

  std::vector<double> appStart, appRss, bareStart, bareRss;
  for (int round = 0; round < kRounds; ++round) {
    for (const bool programFirst : {round % 2 == 0, round % 2 != 0}) {
      const CSample sample = programFirst ? StartOnce(TOLVANE_APP_PATH, {})
                                          : StartOnce(QCoreApplication::applicationFilePath(), bareArguments);
      if (sample.startMs < 0) {
        std::fprintf(stderr, "startup_bench: %s showed no window\n", programFirst ? "tolvane" : "the bare dialog");
        return 1;
      }
      (programFirst ? appStart : bareStart).push_back(sample.startMs);
      (programFirst ? appRss : bareRss).push_back(sample.rssMiB);
    }
  }
  std::printf("tolvane (simulated device on %s) and a bare dialog of its controls as plain Qt widgets (%lld "
              "controls), started in turns, %d rounds; medians\n",
              device.Caption().toStdString().c_str(), static_cast<long long>(facts.controls.count(';') + 1), kRounds);
  PrintComparison("start-up to window", appStart, bareStart, "ms");
  PrintComparison("RSS, window shown", appRss, bareRss, "MiB");
  return 0;
}
