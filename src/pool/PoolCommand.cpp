#include "pool/PoolCommand.h"

#include <cstdio>
#include <string>
#include <vector>

#include "engine/ProvisionCommandLine.h"
#include "engine/ProvisionReport.h"
#include "pool/ImeiImport.h"
#include "pool/ImeiPool.h"
#include "pool/ProductionRecord.h"

namespace tolvane {

namespace {

constexpr char kUsage[] =
    "Usage: tolvane-provision pool init POOL\n"
    "       tolvane-provision pool import POOL FILE\n"
    "       tolvane-provision pool status POOL\n"
    "       tolvane-provision pool export POOL --csv FILE\n"
    "       tolvane-provision pool release POOL IMEI [--station NAME]\n"
    "\n"
    "POOL is an SQLite file on this PC, or postgresql://user@host:port/dbname for a pool that several\n"
    "PCs share (the password from PGPASSWORD or ~/.pgpass, never in POOL).\n"
    "\n"
    "Exit status: 0 done; 2 the command line or POOL is wrong; 3 the import list is wrong, nothing\n"
    "was imported; 5 the IMEI may not be released; 7 the CSV file could not be written; 8 the pool\n"
    "cannot be reached, is not a pool, failed or did not answer in time.\n";

int Say(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  return kExitOk;
}

int Complain(const std::string& text, int status) {
  std::fprintf(stderr, "tolvane-provision pool: %s\n", text.c_str());
  return status;
}

int Usage(const std::string& problem) {
  std::fprintf(stderr, "tolvane-provision pool: %s\n%s", problem.c_str(), kUsage);
  return kExitUsage;
}

std::unique_ptr<CImeiPool> OpenPool(const CPoolAddress& address, bool create, std::string& error) {
  auto pool = CImeiPool::Open(address, create, error);
  if (pool && !create && !pool->IsPool(error)) return nullptr;
  return pool;
}

int Status(CImeiPool& pool) {
  std::map<EImeiState, int> counts;
  std::vector<CPoolRecord> unconfirmed;
  std::string error;
  if (!pool.Counts(counts, error) || !pool.Records(unconfirmed, true, error)) return Complain(error, kExitPool);
  for (const auto& [state, count] : counts) Say(std::string(StateName(state)) + " " + std::to_string(count));
  if (unconfirmed.empty()) return kExitOk;
  Say("Claims no run has reported back on (check each device, then release or leave it):");
  for (const CPoolRecord& claim : unconfirmed)
    Say("  " + claim.imei + "  station " + claim.station + "  port " + claim.port +
        (claim.usbSerial.empty() ? std::string() : "  USB serial " + claim.usbSerial) + "  claimed " + claim.claimedAt);
  return kExitOk;
}

int Export(CImeiPool& pool, const std::string& path, IFileSystem& files) {
  // Written as the pool is read, so memory stays flat however large the pool; whole or not at all,
  // so a reader never sees half a record. The file is begun with the first row, so a pool that
  // cannot be read says so before the file is tried, as when the rows were read first.
  std::unique_ptr<IWholeFile> file;
  std::string reason;
  bool fileFailed = false;
  const auto begin = [&] {
    if (!file && !fileFailed) {
      file = files.SaveInPieces(path, reason);
      fileFailed = !file || !file->Write(ProductionRecordCsvHeader(), reason);
    }
    return !fileFailed;
  };
  long long written = 0;
  std::string error;
  const bool read = pool.EachRecord(
      false,
      [&](const CPoolRecord& record) {
        fileFailed = !begin() || !file->Write(ProductionRecordCsvLine(record), reason);
        ++written;
        return !fileFailed;
      },
      error);
  if (!fileFailed && !read) return Complain(error, kExitPool);
  if (fileFailed || !begin() || !file->Keep(reason)) return Complain(path + ": cannot write it: " + reason, kExitFiles);
  return Say(std::to_string(written) + " IMEIs written to " + path);
}

}  // namespace

int RunPoolCommand(std::vector<std::string> arguments, const std::string& hostName, IFileSystem& files) {
  std::string station = hostName;
  std::string csvPath;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string option = arguments[i];
    if (option == "--help" || option == "-h") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    }
    if (option != "--station" && option != "--csv") continue;
    if (i + 1 >= arguments.size()) return Usage(option + " needs a value");
    (option == "--csv" ? csvPath : station) = arguments[i + 1];
    arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  if (arguments.size() < 2) return Usage("which command, and which pool?");
  const std::string command = arguments[0];
  const std::size_t needed = command == "import" || command == "release" ? 3 : 2;
  if (command != "init" && command != "import" && command != "status" && command != "export" &&
      command != "release")
    return Usage("unknown command \"" + command + "\"");
  if (arguments.size() != needed) return Usage("wrong number of arguments for " + command);
  if (command == "export" && csvPath.empty()) return Usage("export needs --csv FILE");

  std::vector<std::string> imeis;
  std::string error;
  // A bad address is a wrong command line, as it is for --pool.
  const std::optional<CPoolAddress> address = ParsePoolAddress(arguments[1], error);
  if (!address) return Complain(error, kExitUsage);
  if (command == "release" && !IsStationName(station)) return Usage(kStationRule);
  if (command == "import") {
    const auto read = ReadImeiImport(arguments[2], error);
    if (!read) return Complain(error, kExitProfile);
    imeis = *read;
  }
  const auto pool = OpenPool(*address, command == "init", error);
  if (!pool) return Complain(error, kExitPool);
  if (command == "init") return pool->Init(error) ? Say("The pool is ready.") : Complain(error, kExitPool);
  if (command == "status") return Status(*pool);
  if (command == "export") return Export(*pool, csvPath, files);
  if (command == "release") {
    const std::string imei = arguments[2];
    switch (pool->Release(imei, station, error)) {
      case CImeiPool::EReleaseResult::Released: return Say(imei + " is free again.");
      case CImeiPool::EReleaseResult::Refused: return Complain(error, kExitRefused);
      case CImeiPool::EReleaseResult::Failed: return Complain(error, kExitPool);
    }
  }
  int added = 0, skipped = 0;
  if (!pool->Import(imeis, added, skipped, error)) return Complain(error, kExitPool);
  return Say(std::to_string(added) + " IMEIs imported, " + std::to_string(skipped) + " already in the pool.");
}

}  // namespace tolvane
