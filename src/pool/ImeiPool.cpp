// What the pool's commands and a provisioning run do with the IMEIs.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <random>

#include "pool/PoolConnection.h"

namespace tolvane {

namespace {

constexpr const char* kStateNames[] = {"free", "claimed", "written", "verified", "failed"};

// 128 bits from the system's source, as 32 hex digits.
std::string NewToken() {
  std::random_device source;
  std::string token;
  for (int part = 0; part < 4; ++part) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(static_cast<std::uint32_t>(source())));
    token += hex;
  }
  return token;
}

std::string LabelUsed(const std::string& label, const std::string& imei) {
  return "label " + label + " went with IMEI " + imei + " already";
}

}  // namespace

const char* StateName(EImeiState state) { return kStateNames[static_cast<int>(state)]; }

bool CImeiPool::Import(const std::vector<std::string>& imeis, int& added, int& skipped, std::string& errorText) {
  added = skipped = 0;
  if (!m_connection->BeginWrite(errorText)) return false;
  // Many rows a statement: a statement costs a round trip to a server, and parsing it once.
  constexpr std::size_t kRowsAStatement = 1000;
  const std::string at = PoolTimestamp();
  std::vector<PoolValue> values;
  CPoolRows insert;
  for (std::size_t first = 0; first < imeis.size(); first += kRowsAStatement) {
    const std::size_t count = std::min(kRowsAStatement, imeis.size() - first);
    std::string sql = "INSERT INTO tolvane_imei (imei, state, imported_at) VALUES ";
    values.clear();
    for (std::size_t i = first; i < first + count; ++i) {
      sql += i == first ? "(?, 'free', ?)" : ", (?, 'free', ?)";
      values.emplace_back(imeis[i]);
      values.emplace_back(at);
    }
    sql += " ON CONFLICT (imei) DO NOTHING";
    if (!m_connection->Run(insert, sql, values, errorText)) return m_connection->Abandon();
    added += insert.Changed();
    skipped += static_cast<int>(count) - insert.Changed();
  }
  return m_connection->Commit(errorText);
}

bool CImeiPool::Counts(std::map<EImeiState, int>& counts, std::string& errorText) {
  counts.clear();
  for (int state = 0; state < 5; ++state) counts[static_cast<EImeiState>(state)] = 0;
  CPoolRows query;
  // A pool that keeps its counts is read in the same time whatever its size.
  const char* sql = Counted() ? "SELECT state, SUM(n) FROM tolvane_count GROUP BY state"
                              : "SELECT state, COUNT(*) FROM tolvane_imei GROUP BY state";
  if (!m_connection->Run(query, sql, {}, errorText)) return false;
  while (query.Next())
    for (int state = 0; state < 5; ++state)
      if (query.Text(0) == kStateNames[state])
        counts[static_cast<EImeiState>(state)] = std::atoi(query.Text(1).c_str());
  return true;
}

bool CImeiPool::Records(std::vector<CPoolRecord>& records, bool unconfirmedOnly, std::string& errorText) {
  records.clear();
  return EachRecord(
      unconfirmedOnly,
      [&records](const CPoolRecord& record) {
        records.push_back(record);
        return true;
      },
      errorText);
}

bool CImeiPool::EachRecord(bool unconfirmedOnly, const std::function<bool(const CPoolRecord&)>& each,
                           std::string& errorText) {
  const std::string sql =
      std::string(
          "SELECT imei, state, station, port, usb_serial, imei_before, imei_after, settings_after, steps,"
          " detail, imported_at, claimed_at, reported_at, ") +
      (Labelled() ? "label" : "NULL") + " FROM tolvane_imei" + (unconfirmedOnly ? " WHERE state = 'claimed'" : "") +
      " ORDER BY imei";
  CPoolRecord record;
  std::string* fields[] = {&record.imei,       &record.state,      &record.station,    &record.port,
                           &record.usbSerial,  &record.imeiBefore, &record.imeiAfter,  &record.settingsAfter,
                           &record.steps,      &record.detail,     &record.importedAt, &record.claimedAt,
                           &record.reportedAt, &record.label};
  return m_connection->Each(
      sql, {},
      [&](const CPoolRows& row) {
        for (std::size_t column = 0; column < std::size(fields); ++column) *fields[column] = row.Text(column);
        return each(record);
      },
      errorText);
}

bool CImeiPool::NextFree(std::string& imei, std::string& errorText) {
  CPoolRows query;
  if (!m_connection->Run(query, "SELECT imei FROM tolvane_imei WHERE state = 'free' ORDER BY imei LIMIT 1", {},
                         errorText))
    return false;
  imei = query.Next() ? query.Text(0) : std::string();
  return true;
}

CImeiPool::EClaimResult CImeiPool::Claim(const CClaimRequest& request, CClaim& claim, std::string& errorText) {
  const bool labelled = Labelled();
  if (!request.label.empty() && !labelled) {
    errorText = m_connection->Describe("the pool keeps no labels yet",
                                       "any pool command run by the database's owner brings it up to date");
    return EClaimResult::Failed;
  }
  if (!m_connection->BeginWrite(errorText)) return EClaimResult::Failed;
  if (!request.label.empty()) {
    std::string used;
    if (!ImeiOfLabel(request.label, used, errorText)) {
      m_connection->Abandon();
      return EClaimResult::Failed;
    }
    if (!used.empty()) {
      m_connection->Rollback();
      errorText = LabelUsed(request.label, used);
      return EClaimResult::Failed;
    }
  }
  // SKIP LOCKED: another PC's claim in flight is passed over, not waited for. SQLite's write lock,
  // taken by BeginWrite, already keeps every other claimer out.
  const std::string pick = std::string("SELECT imei FROM tolvane_imei WHERE state = 'free' ORDER BY imei LIMIT 1") +
                           (m_connection->IsPostgres() ? " FOR UPDATE SKIP LOCKED" : "");
  CPoolRows query;
  if (!m_connection->Run(query, pick, {}, errorText)) {
    m_connection->Abandon();
    return EClaimResult::Failed;
  }
  if (!query.Next()) {
    m_connection->Rollback();
    return EClaimResult::Empty;
  }
  const std::string imei = query.Text(0);
  const std::string token = NewToken();
  const std::string at = PoolTimestamp();
  // What an earlier, released claim left is cleared; the events keep it.
  std::string update =
      "UPDATE tolvane_imei SET state = 'claimed', claim_token = ?, station = ?, port = ?, usb_serial = ?,"
      " imei_before = ?, claimed_at = ?, imei_after = NULL, settings_after = NULL, steps = NULL, detail = NULL,"
      " reported_at = NULL";
  std::vector<PoolValue> values{token, request.station, request.port, request.usbSerial, request.imeiBefore, at};
  if (labelled) {
    update += ", label = ?";
    values.push_back(request.label.empty() ? PoolValue(nullptr) : PoolValue(request.label));
  }
  update += " WHERE imei = ?";
  values.push_back(imei);
  CPoolRows updated;
  if (!m_connection->Run(updated, update, values, errorText)) {
    m_connection->Abandon();
    // Another station's claim of the same label committed first (PostgreSQL); name its IMEI.
    std::string used, ignored;
    if (!request.label.empty() && ImeiOfLabel(request.label, used, ignored) && !used.empty())
      errorText = LabelUsed(request.label, used);
    return EClaimResult::Failed;
  }
  if (!m_connection->Run("INSERT INTO tolvane_imei_event (imei, at, event, station, port, detail)"
                         " VALUES (?, ?, 'claimed', ?, ?, ?)",
                         {imei, at, request.station, request.port, request.usbSerial}, errorText)) {
    m_connection->Abandon();
    return EClaimResult::Failed;
  }
  if (!m_connection->Commit(errorText)) return EClaimResult::Failed;
  claim.imei = imei;
  claim.token = token;
  return EClaimResult::Taken;
}

bool CImeiPool::Report(const CClaim& claim, const CClaimReport& report, std::string& errorText) {
  if (!m_connection->BeginWrite(errorText)) return false;
  const std::string at = PoolTimestamp();
  const std::string state = StateName(report.state);
  CPoolRows update;
  if (!m_connection->Run(
          update,
          "UPDATE tolvane_imei SET state = ?, imei_after = ?, settings_after = ?,"
          " steps = ?, detail = ?, reported_at = ? WHERE imei = ? AND claim_token = ?",
          {state, report.imeiAfter, report.settingsAfter, report.steps, report.detail, at, claim.imei, claim.token},
          errorText))
    return m_connection->Abandon();
  if (update.Changed() != 1) {
    m_connection->Rollback();
    errorText = claim.imei + " is no longer this run's claim (it was released by hand); the pool keeps what it has";
    return false;
  }
  if (!m_connection->Run("INSERT INTO tolvane_imei_event (imei, at, event, detail) VALUES (?, ?, ?, ?)",
                         {claim.imei, at, state, report.detail}, errorText))
    return m_connection->Abandon();
  return m_connection->Commit(errorText);
}

CImeiPool::EReleaseResult CImeiPool::Release(const std::string& imei, const std::string& station,
                                             std::string& errorText) {
  if (!m_connection->BeginWrite(errorText)) return EReleaseResult::Failed;
  CPoolRows state;
  const bool labelled = Labelled();
  if (!m_connection->Run(
          state, std::string("SELECT state, ") + (labelled ? "label" : "NULL") + " FROM tolvane_imei WHERE imei = ?",
          {imei}, errorText)) {
    m_connection->Rollback();
    return EReleaseResult::Failed;
  }
  const std::string now = state.Next() ? state.Text(0) : std::string();
  const std::string label = now.empty() ? std::string() : state.Text(1);
  if (now != "claimed" && now != "failed") {
    m_connection->Rollback();
    errorText = now.empty() ? imei + " is not in the pool"
                            : imei + " is " + now +
                                  (now == "free" ? ": nothing to release" : ": it is in a device, so it stays");
    return EReleaseResult::Refused;
  }
  // The unit it was claimed for takes another IMEI with the same label; the event keeps the label.
  const std::string free = std::string("UPDATE tolvane_imei SET state = 'free', claim_token = NULL") +
                           (labelled ? ", label = NULL" : "") + " WHERE imei = ?";
  if (!m_connection->Run(free, {imei}, errorText) ||
      !m_connection->Run("INSERT INTO tolvane_imei_event (imei, at, event, station, detail)"
                         " VALUES (?, ?, 'released', ?, ?)",
                         {imei, PoolTimestamp(), station, "was " + now + (label.empty() ? "" : ", label " + label)},
                         errorText)) {
    m_connection->Rollback();
    return EReleaseResult::Failed;
  }
  return m_connection->Commit(errorText) ? EReleaseResult::Released : EReleaseResult::Failed;
}

bool CImeiPool::ImeiOfLabel(const std::string& label, std::string& imei, std::string& errorText) {
  imei.clear();
  if (!Labelled()) return true;
  CPoolRows query;
  if (!m_connection->Run(query, "SELECT imei FROM tolvane_imei WHERE label = ?", {label}, errorText)) return false;
  if (query.Next()) imei = query.Text(0);
  return true;
}

}  // namespace tolvane
