// The IMEI pool at scale, on SQLite and on PostgreSQL, with a pool of 10 and of 1,000,000 IMEIs:
// `pool import`, `pool export` (time and the process's peak memory) and `pool status` as users run
// them, a whole device's run (tolvane-provision against tolvane-devsim), and the pool's share of one
// device in a batch (claim, settle, the free count the batch prints) in this process. Prints
// figures; never a test.
//   pool_scale_bench [--imeis N]      (PostgreSQL through pg_virtualenv, when it is installed)
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DevsimProcess.h"
#include "Figures.h"
#include "pool/ImeiCheck.h"
#include "pool/ImeiPool.h"
#include "pool/PostgresDriver.h"
#include "pool/SqliteDriver.h"

extern char** environ;

namespace {

using namespace tolvane;
using Clock = std::chrono::steady_clock;

constexpr int kDeviceSamples = 200;
constexpr int kWholeRuns = 3;

// The README's example profile; the IMEI comes from the pool.
constexpr char kProfile[] =
    "server_ip = 10.0.0.5\naccount = unit7\naccount_password = s3cret\napn = cmnet\nlanguage = zh_CN\n"
    "network_type = 2G\nwifi_address = 3c:84:6a:01:22:9f\nwifi_password = parlo123\n";

// The simulated device that whole runs provision, and its profile.
struct CDevice {
  std::string port, profile;
};

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct CRun {
  bool ok = false;
  double seconds = 0;
  long peakKiB = 0;
};

// The process's high-water mark of resident memory, in KiB; 0 once it has ended.
long PeakKiB(pid_t process) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
  return 0;
}

// One tolvane-provision run, its output dropped; its time, and its peak RSS. The peak is read from
// /proc while it runs: the kernel's ru_maxrss would start from this process's own size, which the
// child's was before its exec.
CRun Provision(const std::vector<std::string>& arguments) {
  std::vector<char*> argv{const_cast<char*>(TOLVANE_PROVISION_PATH)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  CRun run;
  const Clock::time_point start = Clock::now();
  pid_t child = 0;
  const bool spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!spawned) return run;
  int status = 0;
  for (;;) {
    run.peakKiB = std::max(run.peakKiB, PeakKiB(child));
    const pid_t ended = ::waitpid(child, &status, WNOHANG);
    if (ended == child) break;
    if (ended < 0) return run;
    ::usleep(1000);
  }
  run.seconds = SecondsSince(start);
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (!run.ok) std::fprintf(stderr, "pool_scale_bench: tolvane-provision %s failed\n", arguments[1].c_str());
  return run;
}

std::string ImeiList(const std::string& directory, int count) {
  const std::string path = directory + "/imeis-" + std::to_string(count) + ".txt";
  std::ofstream list(path);
  for (int n = 0; n < count; ++n) {
    char body[16];
    std::snprintf(body, sizeof body, "35%012d", n);
    list << body << ImeiCheckDigit(body) << '\n';
  }
  return path;
}

// Milliseconds for each call of `step`, median and slowest.
struct CTimes {
  std::vector<double> ms;
  void Time(const std::function<bool()>& step) {
    const Clock::time_point start = Clock::now();
    if (step()) ms.push_back(SecondsSince(start) * 1000);
  }
};

// The pool's share of one device: the claim before the IMEI is sent, the settlement after the read
// back, and the free count the batch prints.
void OneDevice(const CPoolAddress& address, int devices, const char* label) {
  std::string error;
  auto pool = CImeiPool::Open(address, false, error);
  if (!pool || !pool->IsPool(error)) {
    std::fprintf(stderr, "pool_scale_bench: %s\n", error.c_str());
    return;
  }
  CTimes claim, settle, count, device;
  for (int n = 0; n < devices; ++n) {
    const Clock::time_point start = Clock::now();
    CClaim taken;
    std::map<EImeiState, int> counts;
    claim.Time([&] {
      return pool->Claim({"bench", "COM33", "", "", ""}, taken, error) == CImeiPool::EClaimResult::Taken;
    });
    settle.Time([&] {
      return pool->Report(taken, {EImeiState::Verified, taken.imei, "", "Write IMEI OK", ""}, error);
    });
    count.Time([&] { return pool->Counts(counts, error); });
    device.ms.push_back(SecondsSince(start) * 1000);
  }
  if (!error.empty()) std::fprintf(stderr, "pool_scale_bench: %s\n", error.c_str());
  std::printf(
      "    one device, %-24s %7.2f ms (claim %.2f, settle %.2f, free count %.2f; slowest device %.2f ms; %zu)\n", label,
      bench::Percentile(device.ms, 0.5), bench::Percentile(claim.ms, 0.5), bench::Percentile(settle.ms, 0.5),
      bench::Percentile(count.ms, 0.5), bench::Maximum(device.ms), device.ms.size());
}

// One statement straight on the database, timed.
double Statement(IPoolConnection& database, const std::string& sql) {
  CPoolRows rows;
  std::string reason;
  const Clock::time_point start = Clock::now();
  if (database.Execute(sql, {}, rows, reason) != IPoolConnection::EExecuted::Done) {
    std::fprintf(stderr, "pool_scale_bench: %s: %s\n", sql.c_str(), reason.c_str());
    return -1;
  }
  return SecondsSince(start) * 1000;
}

void Scale(const CPoolAddress& address, const std::string& shown, const std::string& directory, int imeis,
           const CDevice& device, const std::function<std::unique_ptr<IPoolConnection>()>& connect,
           const char* cleanUp = nullptr) {
  const std::string list = ImeiList(directory, imeis);
  if (!Provision({"pool", "init", shown}).ok) return;
  const CRun import = Provision({"pool", "import", shown, list});
  const CRun status = Provision({"pool", "status", shown});
  const std::string csv = directory + "/record.csv";
  const CRun exported = Provision({"pool", "export", shown, "--csv", csv});
  std::error_code ignored;
  const auto csvBytes = std::filesystem::file_size(csv, ignored);
  std::filesystem::remove(csv, ignored);
  std::filesystem::remove(list, ignored);
  std::printf("  %d IMEIs:\n", imeis);
  std::printf("    pool import  %8.2f s   peak RSS %7.1f MiB\n", import.seconds, import.peakKiB / 1024.0);
  std::printf("    pool export  %8.2f s   peak RSS %7.1f MiB   (%.1f MB of CSV)\n", exported.seconds,
              exported.peakKiB / 1024.0, static_cast<double>(csvBytes) / 1e6);
  std::printf("    pool status  %8.3f s\n", status.seconds);
  if (!import.ok || !exported.ok || !status.ok) return;

  const auto database = connect();
  if (!database) return;
  // What the free count cost before the pool kept its counts: a count of every row.
  std::vector<double> scans;
  for (int n = 0; n < 5; ++n)
    scans.push_back(Statement(*database, "SELECT state, COUNT(*) FROM tolvane_imei GROUP BY state"));
  std::printf("    a count of every row (the free count before) %.2f ms\n", bench::Percentile(scans, 0.5));
  std::vector<double> whole;
  for (int n = 0; n < kWholeRuns; ++n) {
    const CRun run = Provision({"--port", device.port, "--profile", device.profile, "--pool", shown});
    if (run.ok) whole.push_back(run.seconds);
  }
  std::printf("    one device, a whole tolvane-provision run  %.3f s (median of %zu)\n", bench::Percentile(whole, 0.5),
              whole.size());
  OneDevice(address, std::min(imeis - kWholeRuns, kDeviceSamples), "a fresh pool");
  if (imeis < 1000) return;
  // Half the pool used: the claim still finds the lowest free IMEI at once.
  char last[16];
  std::snprintf(last, sizeof last, "35%012d", imeis / 2);
  const double used = Statement(*database, std::string("UPDATE tolvane_imei SET state = 'verified' WHERE state = 'free'"
                                                       " AND imei < '") +
                                               last + "'");
  std::printf("    (half the pool set verified in one statement: %.1f s)\n", used / 1000);
  OneDevice(address, kDeviceSamples, "half the pool used");
  if (!cleanUp) return;
  // PostgreSQL keeps the used IMEIs' old index entries until a vacuum takes them away.
  std::printf("    (%s: %.1f s)\n", cleanUp, Statement(*database, cleanUp) / 1000);
  OneDevice(address, kDeviceSamples, "and after a vacuum");
}

void Sqlite(const std::string& directory, int imeis, const CDevice& device) {
  CPoolAddress address;
  address.path = address.shown = directory + "/pool-" + std::to_string(imeis) + ".db";
  Scale(address, address.path, directory, imeis, device, [&] {
    std::string reason;
    return OpenSqlitePool(address.path, false, 15000, reason);
  });
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(address.path + suffix, ignored);
}

void Postgres(const std::string& directory, int imeis, const CDevice& device) {
  CPoolAddress server;
  server.kind = CPoolAddress::EKind::PostgreSQL;
  server.user = std::getenv("PGUSER");
  server.host = std::getenv("PGHOST");
  server.port = std::atoi(std::getenv("PGPORT"));
  server.database = std::getenv("PGDATABASE");
  std::string reason;
  const auto admin = ConnectPostgresPool(server, {}, reason);
  if (!admin) {
    std::fprintf(stderr, "pool_scale_bench: %s\n", reason.c_str());
    return;
  }
  CPoolAddress address = server;
  address.database = "tolvane_scale_" + std::to_string(imeis);
  address.shown =
      "postgresql://" + address.user + "@" + address.host + ":" + std::to_string(address.port) + "/" + address.database;
  Statement(*admin, "CREATE DATABASE " + address.database);
  Scale(
      address, address.shown, directory, imeis, device, [&] { return ConnectPostgresPool(address, {}, reason); },
      "VACUUM tolvane_imei");
  Statement(*admin, "DROP DATABASE " + address.database + " WITH (FORCE)");
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  int imeis = 1000000;
  bool postgresOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--imeis" && i + 1 < argc) imeis = std::atoi(argv[++i]);
    if (argument == "--postgresql-only") postgresOnly = true;
  }
  char pattern[] = "/tmp/tolvane-pool-scale-XXXXXX";
  if (!::mkdtemp(pattern)) return 1;
  const std::string directory = pattern;
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  QTemporaryDir registry;
  qputenv("TOLVANE_PORT_REGISTRY", registry.path().toUtf8());
  e2e::CDevsimProcess devsim;
  if (!devsim.Start()) return 1;
  const CDevice device{"COM" + std::to_string(devsim.ComNumber()), directory + "/line.ini"};
  std::ofstream(device.profile) << kProfile;
  if (!postgresOnly) {
    std::printf("SQLite (a file on a local disk):\n");
    for (const int count : {10, imeis}) Sqlite(directory, count, device);
  }
  int status = 0;
  if (std::getenv("PGHOST")) {
    std::printf("PostgreSQL 15 (local):\n");
    for (const int count : {10, imeis}) Postgres(directory, count, device);
  } else if (std::system("command -v pg_virtualenv >/dev/null") == 0) {
    // A throw-away cluster of its own for the PostgreSQL figures.
    const std::string again =
        std::string("pg_virtualenv ") + argv[0] + " --postgresql-only --imeis " + std::to_string(imeis);
    status = std::system(again.c_str());
  } else {
    std::printf("PostgreSQL: pg_virtualenv (postgresql-common) is not installed\n");
  }
  std::filesystem::remove_all(directory);
  return status == 0 ? 0 : 1;
}
