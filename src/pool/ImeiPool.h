#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pool/PoolAddress.h"

namespace tolvane {

// What became of an IMEI. Only a free IMEI is ever handed out: one that may have reached a device
// goes back to free only by hand (Release).
enum class EImeiState { Free, Claimed, Written, Verified, Failed };
const char* StateName(EImeiState state);

// Who takes an IMEI: the bench and the unit, as far as it can be told apart from others (a port
// name alone cannot: USB devices re-enumerate).
struct CClaimRequest {
  std::string station;
  std::string port;
  std::string usbSerial;   // of the port's USB bridge, where it has one
  std::string imeiBefore;  // what the device reported of itself before
  std::string label;       // what the operator scanned for the unit; empty: none
};

struct CClaim {
  std::string imei;
  std::string token;  // this claim's own; a report for another claim of the same IMEI is refused
};

// What a run says of its claim once the device has answered, and once it has read the device back.
struct CClaimReport {
  EImeiState state = EImeiState::Claimed;
  std::string imeiAfter, settingsAfter;
  std::string steps;   // "Write IMEI OK; Update IP OK; ..."
  std::string detail;  // why it failed, or what it waits for
};

// One IMEI's line of the production record.
struct CPoolRecord {
  std::string imei, state, station, port, usbSerial, imeiBefore, imeiAfter, settingsAfter, steps, detail;
  std::string importedAt, claimedAt, reportedAt;
  std::string label;
};

// An IMEI pool in a database: SQLite for one PC, PostgreSQL for several. Every value reaches SQL as
// a bound parameter. A claim is committed before the IMEI may be sent, and no lock is held while a
// device is talked to.
class CImeiPool {
 public:
  enum class EClaimResult { Taken, Empty, Failed };
  enum class EReleaseResult { Released, Refused, Failed };

  // Connects. With `create`, an SQLite file that does not exist yet is made (pool init); otherwise
  // it must exist. Nothing, with the reason, when the pool cannot be reached.
  static std::unique_ptr<CImeiPool> Open(const CPoolAddress& address, bool create, std::string& errorText);
  ~CImeiPool();
  CImeiPool(const CImeiPool&) = delete;
  CImeiPool& operator=(const CImeiPool&) = delete;

  // Makes the tables; does nothing to a pool that has them, and refuses a database that holds
  // anything else.
  bool Init(std::string& errorText);
  // Whether this database is a pool (every command but init asks first).
  bool IsPool(std::string& errorText);
  // In one transaction: all or nothing. IMEIs already in the pool are counted and left alone.
  bool Import(const std::vector<std::string>& imeis, int& added, int& skipped, std::string& errorText);
  bool Counts(std::map<EImeiState, int>& counts, std::string& errorText);
  // Every IMEI, or only the claims that no run has reported back on, in IMEI order.
  bool Records(std::vector<CPoolRecord>& records, bool unconfirmedOnly, std::string& errorText);
  // The same, a record at a time as the database hands them over, for a pool too large to hold;
  // `each` returns false to stop early.
  bool EachRecord(bool unconfirmedOnly, const std::function<bool(const CPoolRecord&)>& each, std::string& errorText);
  // The IMEI the next claim would take, without taking it; empty when none is free.
  bool NextFree(std::string& imei, std::string& errorText);
  // Takes the lowest free IMEI for the unit, committed before it returns. A label that went with
  // another IMEI already fails the claim, naming that IMEI, and nothing is taken.
  EClaimResult Claim(const CClaimRequest& request, CClaim& claim, std::string& errorText);
  bool Report(const CClaim& claim, const CClaimReport& report, std::string& errorText);
  // A claimed or failed IMEI back to free, after a person has checked the device. A written or
  // verified one is in a device: refused.
  EReleaseResult Release(const std::string& imei, const std::string& station, std::string& errorText);
  // The IMEI whose claim holds the label; empty when none does.
  bool ImeiOfLabel(const std::string& label, std::string& imei, std::string& errorText);
  // From any thread, for a user who wants out: a call waiting for the database gives up now, and
  // every later one fails at once.
  void Abandon();

 private:
  class CConnection;
  explicit CImeiPool(std::unique_ptr<CConnection> connection);
  // Version 2's counts and index, and version 3's labels, in the transaction under way.
  bool AddCounts(std::string& errorText);
  bool AddLabels(std::string& errorText);
  bool ReadVersion(std::string& version, std::string& errorText);
  // An earlier version's pool brought up to this one; one that cannot be is used as it is.
  void Upgrade();
  // The version of the tables, 0 when unknown; read once. An earlier one lacks what came later:
  // from 2 the counts of each state, from 3 the labels.
  int Version();
  bool Counted() { return Version() >= 2; }
  bool Labelled() { return Version() >= 3; }

  std::unique_ptr<CConnection> m_connection;
  std::optional<int> m_version;
};

}  // namespace tolvane
