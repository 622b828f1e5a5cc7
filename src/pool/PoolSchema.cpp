// Reaching a pool and making or recognising its tables.
#include <filesystem>
#include <system_error>

#include "pool/PoolConnection.h"
#include "pool/PostgresDriver.h"
#include "pool/SqliteDriver.h"

namespace tolvane {

namespace {

constexpr char kFormat[] = "tolvane-imei-pool";
constexpr char kVersion[] = "1";
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
      query.Next() && query.Text(0) == kFormat)
    return true;
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
  const std::string insert = "INSERT INTO tolvane_pool (name, value) VALUES (?, ?)";
  if (!m_connection->Run(insert, {std::string("format"), std::string(kFormat)}, errorText) ||
      !m_connection->Run(insert, {std::string("version"), std::string(kVersion)}, errorText))
    return m_connection->Abandon();
  if (!m_connection->Commit(errorText)) return false;
  // Readers (pool status) then never wait for a claim on SQLite.
  std::string ignored;
  if (!m_connection->IsPostgres()) m_connection->Run("PRAGMA journal_mode=WAL", {}, ignored);
  return true;
}

}  // namespace tolvane
