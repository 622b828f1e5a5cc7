#include "CycleSoak.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "DevsimProcess.h"
#include "ProcessFigures.h"
#include "SoakSession.h"

namespace tolvane::linksoak {

namespace {

// The first cycles grow caches that then stay (fonts, Qt's own pools): drift counts from here.
constexpr int kWarmUpCycles = 100;
constexpr long kRssDriftTargetKiB = 1024;

void PrintFigures(const char* when, int cycle, const e2e::CProcessFigures& figures, double seconds) {
  std::printf("  %-10s %7d %7d %8d %10ld %9.1f\n", when, cycle, figures.openFiles, figures.threads, figures.rssKiB,
              seconds);
  std::fflush(stdout);
}

}  // namespace

int RunCycleSoak(int cycles) {
  e2e::CDevsimProcess device;
  if (!device.Start()) {
    std::fprintf(stderr, "linksoak: tolvane-devsim did not come up\n");
    return 1;
  }
  CSoakSession session;
  if (!session.Start(device.ComNumber())) {
    std::fprintf(stderr, "linksoak: COM%d is not in the port list\n", device.ComNumber());
    return 1;
  }
  std::printf("connect -> ready -> close, %d cycles, against tolvane-devsim (%s), real port, real window offscreen\n",
              cycles, device.Caption().toStdString().c_str());
  std::printf("  %-10s %7s %7s %8s %10s %9s\n", "", "cycle", "files", "threads", "RSS (KiB)", "time (s)");
  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  const e2e::CProcessFigures first = e2e::ReadProcessFigures(::getpid());
  PrintFigures("start", 0, first, 0);
  e2e::CProcessFigures warm = first;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    session.Click(IDC_CONNECT);
    if (!session.WaitFor([&] { return session.IsReady(); })) {
      std::printf("  cycle %d: HANG, the link never became ready\n", cycle);
      return 1;
    }
    session.Click(IDC_CONNECT);
    if (!session.WaitFor([&] { return session.IsClosed(); })) {
      std::printf("  cycle %d: HANG, the link never closed\n", cycle);
      return 1;
    }
    // Its notes of every command would otherwise pile up in this process.
    device.ForgetOutput();
    if (cycle == kWarmUpCycles) {
      warm = e2e::ReadProcessFigures(::getpid());
      PrintFigures("warmed up", cycle, warm, elapsed());
    }
    if (cycle % 1000 == 0 && cycle != cycles) PrintFigures("", cycle, e2e::ReadProcessFigures(::getpid()), elapsed());
  }
  const e2e::CProcessFigures last = e2e::ReadProcessFigures(::getpid());
  PrintFigures("end", cycles, last, elapsed());
  const long drift = last.rssKiB - warm.rssKiB;
  // The first connect opens what Qt keeps for good (its helper threads, the port's notifiers).
  const bool steady = last.openFiles <= warm.openFiles && last.threads <= warm.threads;
  std::printf("\n  after warm-up: files %d -> %d, threads %d -> %d: %s\n", warm.openFiles, last.openFiles, warm.threads,
              last.threads, steady ? "no growth" : "GROWTH");
  std::printf("  RSS drift after warm-up: %+ld KiB; target under %ld KiB: %s\n", drift, kRssDriftTargetKiB,
              drift < kRssDriftTargetKiB ? "met" : "MISSED");
  std::printf("  %.1f ms a cycle\n", 1000 * elapsed() / cycles);
  return steady && drift < kRssDriftTargetKiB ? 0 : 1;
}

}  // namespace tolvane::linksoak
