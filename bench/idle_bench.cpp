// CPU time of the real tolvane process, connected to tolvane-devsim and idle, next to the floor of
// the designed polling alone: two threads that only sleep 10 ms in a loop, in a process of their
// own. Both run at the same moment and are measured over the same seconds, so the cost of a wake-up
// on a shared machine weighs on both alike. Needs an X display (it runs itself under xvfb-run when
// there is none) and xdotool for the click. Never a test.
#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
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
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kRoundTime = 10s;
constexpr int kRounds = 10;
constexpr auto kSettleTime = 5s;
constexpr double kTargetFactor = 1.2;

using ThreadTimes = std::vector<std::pair<std::string, double>>;

double Total(const ThreadTimes& times) {
  double total = 0;
  for (const auto& entry : times) total += entry.second;
  return total;
}

// What each thread ran between two readings, as a share of a core over `seconds`.
std::string PerThread(const ThreadTimes& before, const ThreadTimes& after, double seconds) {
  std::string lines;
  for (const auto& [name, cpu] : after) {
    double ran = cpu;
    for (const auto& [nameBefore, cpuBefore] : before)
      if (nameBefore == name) ran = cpu - cpuBefore;
    char line[160];
    std::snprintf(line, sizeof line, "      %-28s %6.3f %%\n", name.c_str(), 100 * ran / seconds);
    lines += line;
  }
  return lines;
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

}  // namespace

int main(int argc, char* argv[]) {
  if (argc == 2 && std::strcmp(argv[1], "--polling-floor") == 0) RunPollingFloor();
  bench::EnsureDisplay(argc, argv, "idle_bench");
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication application(argc, argv);
  QTemporaryDir registry;
  qputenv("TOLVANE_PORT_REGISTRY", registry.path().toLocal8Bit());
  e2e::CDevsimProcess device;
  if (!device.Start()) {
    std::fprintf(stderr, "idle_bench: tolvane-devsim did not come up\n");
    return 1;
  }
  const bench::CWindowFacts facts = bench::LookAtTheWindow();

  QProcess tolvane;
  tolvane.setProcessChannelMode(QProcess::ForwardedChannels);
  const bench::CStartedProgram app = bench::StartAndWaitForWindow(tolvane, TOLVANE_APP_PATH, {});
  if (app.window == 0) {
    std::fprintf(stderr, "idle_bench: tolvane showed no window\n");
    return 1;
  }
  std::this_thread::sleep_for(1s);
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
  QProcess floor;
  floor.start(QCoreApplication::applicationFilePath(), {"--polling-floor"});
  floor.waitForStarted();
  std::this_thread::sleep_for(kSettleTime);

  const auto appPid = static_cast<pid_t>(tolvane.processId());
  const auto floorPid = static_cast<pid_t>(floor.processId());
  const double seconds = std::chrono::duration<double>(kRoundTime).count();
  std::vector<double> appCpu, floorCpu, ratios;
  std::string appThreads, floorThreads;
  for (int round = 0; round < kRounds; ++round) {
    const ThreadTimes appBefore = e2e::ReadThreadCpuSeconds(appPid);
    const ThreadTimes floorBefore = e2e::ReadThreadCpuSeconds(floorPid);
    std::this_thread::sleep_for(kRoundTime);
    const ThreadTimes appAfter = e2e::ReadThreadCpuSeconds(appPid);
    const ThreadTimes floorAfter = e2e::ReadThreadCpuSeconds(floorPid);
    appCpu.push_back(100 * (Total(appAfter) - Total(appBefore)) / seconds);
    floorCpu.push_back(100 * (Total(floorAfter) - Total(floorBefore)) / seconds);
    ratios.push_back(appCpu.back() / floorCpu.back());
    if (round == kRounds - 1) {
      appThreads = PerThread(appBefore, appAfter, seconds);
      floorThreads = PerThread(floorBefore, floorAfter, seconds);
    }
  }
  const bool stillConnected = !device.HasPrinted("device says COM:close");
  bench::StopProcess(tolvane);
  bench::StopProcess(floor);

  std::printf("tolvane connected to tolvane-devsim (%s), idle, beside the floor (two threads sleeping 10 ms) in "
              "a process of its own; %d rounds of %.0f s, both measured over the same seconds\n",
              device.Caption().toStdString().c_str(), kRounds, seconds);
  for (int round = 0; round < kRounds; ++round)
    std::printf("  round %d: tolvane %.3f %% of a core, floor %.3f %%: %.2f x\n", round + 1, appCpu[round],
                floorCpu[round], ratios[round]);
  // A wake-up's cost on a shared machine swings from one round to the next, for both alike: the
  // figure of record is the whole run's, with the rounds' median beside it.
  double appTotal = 0, floorTotal = 0;
  for (int round = 0; round < kRounds; ++round) {
    appTotal += appCpu[round];
    floorTotal += floorCpu[round];
  }
  const double whole = appTotal / floorTotal;
  std::printf("  whole run %.2f x (median of the rounds %.2f x), target at most %.1f x: %s\n", whole,
              bench::Percentile(ratios, 0.5), kTargetFactor, bench::Verdict(whole <= kTargetFactor));
  std::printf("    tolvane by thread, last round:\n%s    the floor by thread, last round:\n%s", appThreads.c_str(),
              floorThreads.c_str());
  if (!stillConnected) std::printf("  (the link closed during the run: the figures are not of an idle link)\n");
  return 0;
}
