// A production line's figures: devices per hour with 1, 4 and 8 simulated devices given to one
// tolvane-provision as several --port, and the IMEI pool's claims per second with 8 claimers on
// SQLite and on PostgreSQL. Prints each next to its target; never a test.
//   provision_bench            (PostgreSQL through pg_virtualenv, when it is installed)
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "DevsimProcess.h"
#include "pool/ImeiCheck.h"
#include "pool/ImeiPool.h"

namespace {

using namespace tolvane;

constexpr int kRounds = 3;
constexpr double kTargetFactor = 1.3;  // 8 devices at once against one
constexpr int kClaimers = 8;
constexpr int kClaims = 2000;

// The README's example profile; the IMEI comes from the pool.
constexpr char kProfile[] =
    "server_ip = 10.0.0.5\naccount = unit7\naccount_password = s3cret\napn = cmnet\nlanguage = zh_CN\n"
    "network_type = 2G\nwifi_address = 3c:84:6a:01:22:9f\nwifi_password = parlo123\n";

std::vector<std::string> Imeis(int count) {
  std::vector<std::string> imeis;
  for (int n = 0; n < count; ++n) {
    char body[16];
    std::snprintf(body, sizeof body, "86%012d", n);
    imeis.push_back(body + std::string(1, ImeiCheckDigit(body)));
  }
  return imeis;
}

std::unique_ptr<CImeiPool> MakePool(const CPoolAddress& address, int imeis) {
  std::string error;
  auto pool = CImeiPool::Open(address, true, error);
  int added = 0, skipped = 0;
  if (!pool || !pool->Init(error) || !pool->Import(Imeis(imeis), added, skipped, error)) {
    std::fprintf(stderr, "provision_bench: %s\n", error.c_str());
    return nullptr;
  }
  return pool;
}

// Seconds for one tolvane-provision run over `devices` at once.
double ProvisionOnce(const QTemporaryDir& directory, const std::vector<std::unique_ptr<e2e::CDevsimProcess>>& devices,
                     int count) {
  QStringList arguments{"--profile", directory.filePath("line.ini"), "--pool", directory.filePath("pool.db")};
  for (int n = 0; n < count; ++n) arguments << "--port" << devices[static_cast<std::size_t>(n)]->Caption().left(6);
  QProcess run;
  run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  QElapsedTimer clock;
  clock.start();
  run.start(QStringLiteral(TOLVANE_PROVISION_PATH), arguments);
  if (!run.waitForFinished(600'000) || run.exitCode() != 0) {
    std::fprintf(stderr, "provision_bench: a run failed (%d):\n%s\n", run.exitCode(), run.readAllStandardOutput().constData());
    return -1;
  }
  return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

double Median(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

bool DevicesPerHour() {
  QTemporaryDir directory;
  qputenv("TOLVANE_PORT_REGISTRY", directory.filePath("registry").toUtf8());
  QFile profile(directory.filePath("line.ini"));
  if (!profile.open(QIODevice::WriteOnly) || profile.write(kProfile) < 0) return false;
  profile.close();
  CPoolAddress address;
  address.path = address.shown = directory.filePath("pool.db").toStdString();
  if (!MakePool(address, 8 * kRounds * 3)) return false;
  std::vector<std::unique_ptr<e2e::CDevsimProcess>> devices;
  for (int n = 0; n < 8; ++n) {
    devices.push_back(std::make_unique<e2e::CDevsimProcess>());
    if (!devices.back()->Start()) return false;
  }
  std::printf("Devices per hour, the README's example profile, %d runs each (median):\n", kRounds);
  double one = 0;
  for (const int count : {1, 4, 8}) {
    std::vector<double> seconds;
    for (int round = 0; round < kRounds; ++round) seconds.push_back(ProvisionOnce(directory, devices, count));
    if (*std::min_element(seconds.begin(), seconds.end()) < 0) return false;
    const double median = Median(seconds);
    if (count == 1) one = median;
    std::printf("  %d device%s at once: %6.2f s a run, %6.0f devices/hour, %.2f x the time of one%s\n", count,
                count == 1 ? " " : "s", median, count * 3600.0 / median, median / one,
                count == 8 ? (median / one <= kTargetFactor ? "  (target 1.3 x: met)" : "  (target 1.3 x: MISSED)")
                           : "");
  }
  return true;
}

void ClaimsPerSecond(const CPoolAddress& address, const char* label) {
  if (!MakePool(address, kClaims)) return;
  QElapsedTimer clock;
  clock.start();
  std::vector<std::thread> claimers;
  std::vector<int> taken(kClaimers);
  for (int c = 0; c < kClaimers; ++c)
    claimers.emplace_back([&address, &taken, c] {
      std::string error;
      auto pool = CImeiPool::Open(address, false, error);
      CClaim claim;
      while (pool && pool->Claim({"bench", "COM" + std::to_string(33 + c), "", "", ""}, claim, error) ==
                         CImeiPool::EClaimResult::Taken)
        ++taken[static_cast<std::size_t>(c)];
    });
  for (auto& claimer : claimers) claimer.join();
  const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  int total = 0;
  for (const int count : taken) total += count;
  std::printf("  %-10s %d claims by %d claimers in %.2f s: %.0f claims/s%s\n", label, total, kClaimers, seconds,
              total / seconds, total == kClaims ? "" : "  (SOME LOST)");
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const bool postgresOnly = application.arguments().contains(QStringLiteral("--postgresql-only"));
  if (!postgresOnly) {
    if (!DevicesPerHour()) return 1;
    std::printf("IMEI pool, claims per second:\n");
    QTemporaryDir directory;
    CPoolAddress sqlite;
    sqlite.path = sqlite.shown = directory.filePath("claims.db").toStdString();
    ClaimsPerSecond(sqlite, "SQLite");
  }
  if (std::getenv("PGHOST")) {
    CPoolAddress postgres;
    postgres.kind = CPoolAddress::EKind::PostgreSQL;
    postgres.user = std::getenv("PGUSER");
    postgres.host = std::getenv("PGHOST");
    postgres.port = std::atoi(std::getenv("PGPORT"));
    postgres.database = std::getenv("PGDATABASE");
    postgres.shown = "postgresql://" + postgres.user + "@" + postgres.host + "/" + postgres.database;
    ClaimsPerSecond(postgres, "PostgreSQL");
    return 0;
  }
  // A throw-away cluster of its own for the PostgreSQL figure.
  const QString virtualenv = QStandardPaths::findExecutable(QStringLiteral("pg_virtualenv"));
  if (virtualenv.isEmpty()) {
    std::printf("  PostgreSQL: pg_virtualenv (postgresql-common) is not installed\n");
    return 0;
  }
  std::fflush(stdout);
  return QProcess::execute(virtualenv, {QCoreApplication::applicationFilePath(), "--postgresql-only"});
}
