#include "qtbench/BenchApp.h"

#include <QApplication>
#include <QMessageBox>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "bench/BenchCommandLine.h"
#include "bench/BenchSession.h"
#include "cli/LinuxProvisionPlatform.h"
#include "engine/ProvisionReport.h"
#include "engine/ProvisionStart.h"
#include "pool/BenchPoolOverImeiPool.h"
#include "pool/ImeiPoolSource.h"
#include "posix/HostName.h"
#include "posix/StopSignal.h"
#include "qt/QtAppIcon.h"
#include "qtbench/QtBenchWindow.h"
#include "res/Strings.h"

namespace tolvane {

namespace {

constexpr char kProgram[] = "tolvane-bench";

// On standard error, and in a box: the bench is started from a menu as often as from a terminal.
int Refuse(const std::string& message, int status) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  QMessageBox::critical(nullptr, QString::fromStdString(LoadString(IDS_BENCH_TITLE)), QString::fromStdString(message));
  return status;
}

}  // namespace

int RunBench(int argc, char** argv) {
  // The units' report lines read as tolvane-provision prints them, in English; the window itself
  // speaks the language asked for.
  SetProcessTextLanguage(TextLanguage::English);
  std::signal(SIGPIPE, SIG_IGN);
  const CBenchCommandLine line =
      ParseBenchCommandLine(std::vector<std::string>(argv + 1, argv + argc), HostName(), kProgram);
  if (line.action != CProvisionCommandLine::EAction::Run) {
    std::fputs((line.text + "\n").c_str(), line.action == CProvisionCommandLine::EAction::ShowHelp ? stdout : stderr);
    return line.exitStatus;
  }

  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kProgram));
  QApplication::setDesktopFileName(QStringLiteral("tolvane-bench"));
  QApplication::setWindowIcon(AppIcon());
  SetThreadTextLanguage(line.language);

  CLinuxProvisionPlatform platform;
  std::string error;
  int status = kExitOk;
  std::optional<CProvisionStart> run =
      PrepareProvision(line.options, platform.Files(), OpenImeiPoolSource, error, status);
  if (!run) return Refuse(error, status);
  CBenchStart start;
  if (!line.options.poolAddress.empty()) {
    start.pool = OpenBenchPool(line.options.poolAddress, line.options.station, error);
    if (!start.pool) return Refuse(error, kExitPool);
  }
  start.options = line.options;
  start.run = std::move(*run);
  start.profileName = std::filesystem::path(line.options.profilePath).filename().string();
  start.labels = line.labels;

  CQtBenchWindow window(static_cast<int>(line.options.comNumbers.size()), line.labels, start.pool != nullptr);
  int exitStatus = kExitOk;
  window.onClosed = [&exitStatus](int finished) {
    // Closing the window is how a bench ends, not an interruption.
    exitStatus = finished == kExitInterrupted ? kExitOk : finished;
  };
  CBenchSession session(platform, std::move(start), window,
                        [&window](std::function<void()> task) { window.Post(std::move(task)); });
  window.Attach(session);
  // Ctrl-C or a stop from a script closes the bench as its close box does.
  const CStopSignal stop([&window](int) { window.Post([&window] { window.close(); }); });
  window.show();
  QApplication::exec();
  return exitStatus;
}

}  // namespace tolvane
