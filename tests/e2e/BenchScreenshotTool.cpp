// Not a test: draws the bench window into a PNG, as four simulated units leave it: one passed, one
// refused, one whose step is still under way and one that got no answer. scripts/screenshot.sh
// runs it under Xvfb. Usage: tolvane_bench_screenshot OUT.png en|zh
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <memory>

#include "DevsimProcess.h"
#include "LinkE2eFixture.h"
#include "bench/BenchCommandLine.h"
#include "bench/BenchSession.h"
#include "cli/LinuxProvisionPlatform.h"
#include "engine/ProvisionStart.h"
#include "pool/ImeiPoolSource.h"
#include "qtbench/QtBenchTile.h"
#include "qtbench/QtBenchWindow.h"
#include "res/Strings.h"

namespace tolvane::e2e {
namespace {

int Shoot(const QString& out, bool chinese) {
  SetProcessTextLanguage(TextLanguage::English);
  SetThreadTextLanguage(chinese ? TextLanguage::Chinese : TextLanguage::English);
  CScopedRegistry registry;
  QTemporaryDir dir;
  auto write = [&dir](const QString& name, const QByteArray& text) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) return std::string();
    file.write(text);
    return dir.filePath(name).toStdString();
  };
  std::vector<std::unique_ptr<CDevsimProcess>> units;
  for (const QStringList& arguments : {QStringList{}, QStringList{"--refuse", "HOST"}, QStringList{"--delay", "4000"},
                                       QStringList{"--ignore", "ACCOUNT"}}) {
    units.push_back(std::make_unique<CDevsimProcess>(arguments));
    if (!units.back()->Start()) return 1;
  }
  const CBenchCommandLine line = ParseBenchCommandLine(
      {"--profile",
       write("dealer.ini",
             "domain = mirl.example.com\naccount = bench\naccount_password = s3cret\n"
             "dealer_password = 7788\nlanguage = en_US\n"),
       "--imei-list", write("imeis.txt", "860000000000017\n860000000000025\n860000000000033\n860000000000041\n"),
       "--port", "COM200", "--port", "COM201", "--port", "COM202", "--port", "COM203"},
      "bench-1", "tolvane-bench");
  CLinuxProvisionPlatform platform;
  std::string error;
  int status = 0;
  std::optional<CProvisionStart> run =
      PrepareProvision(line.options, platform.Files(), OpenImeiPoolSource, error, status);
  if (!run) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  CBenchStart start;
  start.options = line.options;
  start.run = std::move(*run);
  start.profileName = "dealer.ini";
  CQtBenchWindow window(4, false, false);
  CBenchSession session(platform, std::move(start), window,
                        [&window](std::function<void()> task) { window.Post(std::move(task)); });
  window.Attach(session);
  window.show();
  // Until three units have their verdicts while the slow one is still at a step.
  auto shown = [&window](int slot) { return window.findChildren<CQtBenchTile*>().at(slot)->Shown(); };
  const QDeadlineTimer deadline(90'000);
  while (!deadline.hasExpired() &&
         !(shown(0).verdict == EVerdict::Pass && shown(1).verdict == EVerdict::Fail &&
           shown(3).verdict == EVerdict::NoResponse && shown(2).state == ETileState::Running && shown(2).step > 1)) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(20);
  }
  const bool saved = window.grab().save(out);
  window.close();
  while (window.isVisible()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(20);
  }
  return saved ? 0 : 1;
}

}  // namespace
}  // namespace tolvane::e2e

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3) return 2;
  return tolvane::e2e::Shoot(QString::fromLocal8Bit(argv[1]), QByteArrayView(argv[2]) == "zh");
}
