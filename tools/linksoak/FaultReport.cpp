#include "FaultReport.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdio>
#include <string>

#include "FaultModes.h"

namespace tolvane::linksoak {

namespace {

constexpr int kHangAfterMs = 120'000;

struct CFaultResult {
  std::string verdict;  // "defined outcome", "UNDEFINED", "HANG", "CRASH"
  std::string what;
  std::string messages = "-";
  std::string rss = "-";
};

CFaultResult RunOne(const std::string& name) {
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QCoreApplication::applicationFilePath(), {"--fault", QString::fromStdString(name)});
  CFaultResult result;
  if (!child.waitForFinished(kHangAfterMs)) {
    child.kill();
    child.waitForFinished(10'000);
    return {"HANG", "no end within " + std::to_string(kHangAfterMs / 1000) + " s"};
  }
  if (child.exitStatus() == QProcess::CrashExit) return {"CRASH", child.errorString().toStdString()};
  const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n');
  for (const QString& line : lines) {
    if (!line.startsWith(kResultTag)) continue;
    const QStringList fields = line.mid(static_cast<int>(std::char_traits<char>::length(kResultTag))).split('|');
    if (fields.size() != 4) break;
    result.verdict = fields[0] == "defined" ? "defined outcome" : "UNDEFINED";
    result.what = fields[1].toStdString();
    result.messages = fields[2].toStdString();
    result.rss = fields[3].toStdString();
    return result;
  }
  return {"UNDEFINED", "ended with status " + std::to_string(child.exitCode()) + " and no result"};
}

}  // namespace

int RunFaultReport() {
  std::printf("fault modes, each in a process of its own: real port, real window offscreen\n");
  std::printf("  %-30s %-16s %9s %10s  %s\n", "fault", "result", "messages", "RSS (KiB)", "what happened");
  bool allDefined = true;
  for (const std::string& name : FaultModeNames()) {
    const CFaultResult result = RunOne(name);
    allDefined = allDefined && result.verdict == "defined outcome";
    std::printf("  %-30s %-16s %9s %10s  %s\n", name.c_str(), result.verdict.c_str(), result.messages.c_str(),
                result.rss.c_str(), result.what.c_str());
    std::fflush(stdout);
  }
  std::printf("\n  every fault ends in a defined outcome: %s\n", allDefined ? "met" : "MISSED");
  return allDefined ? 0 : 1;
}

}  // namespace tolvane::linksoak
