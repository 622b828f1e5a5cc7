// Reaching a pool and making or recognising its tables.
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "pool/PoolConnection.h"
#include "pool/PostgresDriver.h"
#include "pool/SqliteDriver.h"

namespace tolvane {

namespace {

constexpr char kFormat[] = "tolvane-imei-pool";
// 1: the tables; 2: the counts of each state and the index of the free IMEIs; 3: the labels.
constexpr char kVersion[] = "3";
// Claimers on one PC take turns for the write lock instead of failing at once.
constexpr int kSqliteBusyTimeoutMs = 15000;

const char* const kSchema[] = {
    "CREATE TABLE tolvane_pool (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
    "CREATE TABLE tolvane_imei ("
    " imei TEXT PRIMARY KEY,"
    " state TEXT NOT NULL CHECK (state IN ('free', 'claimed', 'written', 'verified', 'failed')),"
    " claim_token TEXT, station TEXT, port TEXT, usb_serial TEXT, imei_before TEXT,"
    " imei_after TEXT, settings_after TEXT, steps TEXT, detail TEXT,"
    " imported_at TEXT NOT NULL, claimed_at TEXT, reported_at TEXT)",
    "CREATE INDEX tolvane_imei_by_state ON tolvane_imei (state, imei)",
    // Every change of state, for whoever asks later what happened to an IMEI.
    "CREATE TABLE tolvane_imei_event (imei TEXT NOT NULL, at TEXT NOT NULL, event TEXT NOT NULL,"
    " station TEXT, port TEXT, detail TEXT)",
};

// What version 2 adds. The counts are kept by the database itself, in the transaction that moves an
// IMEI, so that every writer keeps them, an earlier program's included, and a batch reads its free
// count without counting the pool. The claim finds the lowest free IMEI through an index that holds
// the free ones alone, however many have left that state.
const char* const kCountsCommon[] = {
    "CREATE INDEX tolvane_imei_free ON tolvane_imei (imei) WHERE state = 'free'",
    // A state's count is the sum of its shards (below).
    "CREATE TABLE tolvane_count (state TEXT NOT NULL, shard INTEGER NOT NULL, n BIGINT NOT NULL,"
    " PRIMARY KEY (state, shard))",
    "INSERT INTO tolvane_count (state, shard, n) VALUES ('free', 0, 0), ('claimed', 0, 0), ('written', 0, 0),"
    " ('verified', 0, 0), ('failed', 0, 0)",
    "UPDATE tolvane_count SET n = (SELECT COUNT(*) FROM tolvane_imei WHERE tolvane_imei.state = tolvane_count.state)",
};

const char* const kCountsSqlite[] = {
    "CREATE TRIGGER tolvane_imei_counted_insert AFTER INSERT ON tolvane_imei"
    " BEGIN UPDATE tolvane_count SET n = n + 1 WHERE state = NEW.state; END",
    "CREATE TRIGGER tolvane_imei_counted_update AFTER UPDATE OF state ON tolvane_imei WHEN OLD.state <> NEW.state"
    " BEGIN UPDATE tolvane_count SET n = n - 1 WHERE state = OLD.state;"
    " UPDATE tolvane_count SET n = n + 1 WHERE state = NEW.state; END",
    "CREATE TRIGGER tolvane_imei_counted_delete AFTER DELETE ON tolvane_imei"
    " BEGIN UPDATE tolvane_count SET n = n - 1 WHERE state = OLD.state; END",
};

// Once a statement rather than once a row: an import of a million rows in one transaction would
// otherwise pile up a million versions of one counter. Each connection moves the counters of a
// shard of its own, so that claimers on several PCs do not queue for one row until each commits;
// a statement locks its counters in the order of their states, so that two writers that share a
// shard never wait for each other in a circle.
const char* const kCountsPostgres[] = {
    "INSERT INTO tolvane_count (state, shard, n) SELECT state, shard, 0 FROM (VALUES ('free'), ('claimed'),"
    " ('written'), ('verified'), ('failed')) AS states (state), generate_series(1, 31) AS shards (shard)",
    "CREATE FUNCTION tolvane_imei_counted() RETURNS trigger LANGUAGE plpgsql AS $body$"
    " DECLARE states text[]; deltas bigint[]; mine integer := pg_backend_pid() % 32;"
    " BEGIN"
    "  IF TG_OP = 'INSERT' THEN"
    "   SELECT array_agg(state ORDER BY state), array_agg(k ORDER BY state) INTO states, deltas"
    "    FROM (SELECT state, COUNT(*) AS k FROM added GROUP BY state) moved;"
    "  ELSIF TG_OP = 'DELETE' THEN"
    "   SELECT array_agg(state ORDER BY state), array_agg(k ORDER BY state) INTO states, deltas"
    "    FROM (SELECT state, -COUNT(*) AS k FROM removed GROUP BY state) moved;"
    "  ELSE"
    "   SELECT array_agg(state ORDER BY state), array_agg(k ORDER BY state) INTO states, deltas"
    "    FROM (SELECT state, SUM(k) AS k FROM (SELECT state, 1 AS k FROM added"
    "     UNION ALL SELECT state, -1 FROM removed) changed GROUP BY state HAVING SUM(k) <> 0) moved;"
    "  END IF;"
    "  IF states IS NOT NULL THEN"
    "   PERFORM 1 FROM tolvane_count WHERE shard = mine AND state = ANY (states) ORDER BY state FOR UPDATE;"
    "   UPDATE tolvane_count c SET n = c.n + m.k FROM unnest(states, deltas) AS m (state, k)"
    "    WHERE c.shard = mine AND c.state = m.state;"
    "  END IF;"
    "  RETURN NULL;"
    " END $body$",
    // The free IMEIs' index keeps an entry for each IMEI claimed until a vacuum: after 1 % of the rows
    // rather than 20 %, so that a claim does not walk past many of them.
    "ALTER TABLE tolvane_imei SET (autovacuum_vacuum_scale_factor = 0.01)",
    "CREATE TRIGGER tolvane_imei_counted_insert AFTER INSERT ON tolvane_imei REFERENCING NEW TABLE AS added"
    " FOR EACH STATEMENT EXECUTE FUNCTION tolvane_imei_counted()",
    "CREATE TRIGGER tolvane_imei_counted_update AFTER UPDATE ON tolvane_imei"
    " REFERENCING OLD TABLE AS removed NEW TABLE AS added FOR EACH STATEMENT EXECUTE FUNCTION tolvane_imei_counted()",
    "CREATE TRIGGER tolvane_imei_counted_delete AFTER DELETE ON tolvane_imei REFERENCING OLD TABLE AS removed"
    " FOR EACH STATEMENT EXECUTE FUNCTION tolvane_imei_counted()",
};

// What version 3 adds: the label a unit's claim went with, once in the pool at most.
const char* const kLabels[] = {
    "ALTER TABLE tolvane_imei ADD COLUMN label TEXT",
    "CREATE UNIQUE INDEX tolvane_imei_label ON tolvane_imei (label) WHERE label IS NOT NULL",
};

}  // namespace

std::unique_ptr<CImeiPool> CImeiPool::Open(const CPoolAddress& address, bool create, std::string& errorText) {
  const bool postgres = address.kind == CPoolAddress::EKind::PostgreSQL;
  std::error_code unreadable;
  if (!postgres && !create && !std::filesystem::exists(address.path, unreadable)) {
    errorText =
        "there is no pool at " + address.path + " (make one with: tolvane-provision pool init " + address.path + ")";
    return nullptr;
  }
  std::string reason;
  std::unique_ptr<IPoolConnection> driver = postgres
                                                ? ConnectPostgresPool(address, CPostgresLimits{}, reason)
                                                : OpenSqlitePool(address.path, create, kSqliteBusyTimeoutMs, reason);
  auto connection = std::make_unique<CConnection>(address, std::move(driver));
  if (!connection->HasDriver()) {
    errorText = connection->Describe("cannot reach the pool", reason);
    return nullptr;
  }
  return std::unique_ptr<CImeiPool>(new CImeiPool(std::move(connection)));
}

CImeiPool::CImeiPool(std::unique_ptr<CConnection> connection) : m_connection(std::move(connection)) {}
CImeiPool::~CImeiPool() = default;

void CImeiPool::Abandon() { m_connection->Driver().Abandon(); }

bool CImeiPool::IsPool(std::string& errorText) {
  CPoolRows query;
  std::string reason;
  if (m_connection->Run(query, "SELECT value FROM tolvane_pool WHERE name = ?", {std::string("format")}, reason) &&
      query.Next() && query.Text(0) == kFormat) {
    Upgrade();
    return true;
  }
  // Only a database that can be read and lacks the pool's mark is not a pool; one that is locked,
  // damaged or unreadable says so in the engine's words.
  std::vector<std::string> present;
  std::string unread;
  if (!m_connection->Driver().Objects(present, unread)) {
    errorText = m_connection->Fault("the pool could not be read", unread);
    return false;
  }
  errorText = m_connection->Describe("not an IMEI pool", "make one with tolvane-provision pool init");
  return false;
}

bool CImeiPool::Init(std::string& errorText) {
  std::vector<std::string> present;
  std::string unread;
  // A database that cannot even be listed fails below, when the schema is written.
  m_connection->Driver().Objects(present, unread);
  for (const std::string& name : present)
    if (name == "tolvane_pool") return IsPool(errorText);
  if (!present.empty()) {
    std::string names;
    for (const std::string& name : present) names += (names.empty() ? "" : ", ") + name;
    errorText = m_connection->Describe("this database holds something else, so it is not made a pool", names);
    return false;
  }
  if (!m_connection->BeginWrite(errorText)) return false;
  for (const char* statement : kSchema)
    if (!m_connection->Run(statement, {}, errorText)) return m_connection->Abandon();
  if (!AddCounts(errorText) || !AddLabels(errorText)) return m_connection->Abandon();
  const std::string insert = "INSERT INTO tolvane_pool (name, value) VALUES (?, ?)";
  if (!m_connection->Run(insert, {std::string("format"), std::string(kFormat)}, errorText) ||
      !m_connection->Run(insert, {std::string("version"), std::string(kVersion)}, errorText))
    return m_connection->Abandon();
  if (!m_connection->Commit(errorText)) return false;
  m_version = std::atoi(kVersion);
  // Readers (pool status) then never wait for a claim on SQLite.
  std::string ignored;
  if (!m_connection->IsPostgres()) m_connection->Run("PRAGMA journal_mode=WAL", {}, ignored);
  return true;
}

bool CImeiPool::AddCounts(std::string& errorText) {
  for (const char* statement : kCountsCommon)
    if (!m_connection->Run(statement, {}, errorText)) return false;
  if (m_connection->IsPostgres()) {
    for (const char* statement : kCountsPostgres)
      if (!m_connection->Run(statement, {}, errorText)) return false;
  } else {
    for (const char* statement : kCountsSqlite)
      if (!m_connection->Run(statement, {}, errorText)) return false;
  }
  return true;
}

bool CImeiPool::AddLabels(std::string& errorText) {
  for (const char* statement : kLabels)
    if (!m_connection->Run(statement, {}, errorText)) return false;
  return true;
}

int CImeiPool::Version() {
  if (!m_version) {
    std::string version, error;
    if (!ReadVersion(version, error)) return 0;  // asked again next time
    m_version = std::atoi(version.c_str());
  }
  return *m_version;
}

bool CImeiPool::ReadVersion(std::string& version, std::string& errorText) {
  CPoolRows query;
  if (!m_connection->Run(query, "SELECT value FROM tolvane_pool WHERE name = ?", {std::string("version")}, errorText))
    return false;
  version = query.Next() ? query.Text(0) : std::string();
  return true;
}

void CImeiPool::Upgrade() {
  std::string version, error;
  if (!ReadVersion(version, error)) return;
  m_version = std::atoi(version.c_str());
  if (version != "1" && version != "2") return;
  // Another program may upgrade the same pool at the same time, and earlier programs may be
  // writing to it: the version is read again once every other writer is kept out. On PostgreSQL a
  // writer that the lock held back finds the counters' triggers in place when it goes on.
  if (!m_connection->BeginWrite(error)) return;
  if (m_connection->IsPostgres() && !m_connection->Run("LOCK TABLE tolvane_imei IN EXCLUSIVE MODE", {}, error)) {
    m_connection->Rollback();
    return;
  }
  if (!ReadVersion(version, error) || (version == "1" && !AddCounts(error)) ||
      ((version == "1" || version == "2") && !AddLabels(error)) ||
      !m_connection->Run("UPDATE tolvane_pool SET value = ? WHERE name = ?",
                         {std::string(kVersion), std::string("version")}, error)) {
    // A user who may not change the tables still uses the pool as it is: its counts are then
    // counted, and it keeps no labels.
    m_connection->Rollback();
    return;
  }
  if (m_connection->Commit(error)) m_version = std::atoi(kVersion);
}

}  // namespace tolvane
