// Reaching a pool and making or recognising its tables.
#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QStringList>

#include "pool/PoolConnection.h"

namespace tolvane {

namespace {

constexpr char kFormat[] = "tolvane-imei-pool";
constexpr char kVersion[] = "1";

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
  static QAtomicInt s_nextConnection;
  const QString name = QStringLiteral("tolvane-pool-%1").arg(s_nextConnection.fetchAndAddRelaxed(1));
  const bool postgres = address.kind == CPoolAddress::EKind::PostgreSQL;
  if (!postgres && !create && !QFileInfo::exists(QString::fromStdString(address.path))) {
    errorText = "there is no pool at " + address.path + " (make one with: tolvane-provision pool init " +
                address.path + ")";
    return nullptr;
  }
  QSqlDatabase database = QSqlDatabase::addDatabase(postgres ? "QPSQL" : "QSQLITE", name);
  if (!database.isValid()) {
    errorText = std::string("the ") + (postgres ? "PostgreSQL" : "SQLite") +
                " driver of Qt is not installed (Debian: " + (postgres ? "libqt6sql6-psql" : "libqt6sql6-sqlite") + ")";
    database = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
    return nullptr;
  }
  if (postgres) {
    database.setHostName(QString::fromStdString(address.host));
    database.setPort(address.port);
    database.setUserName(QString::fromStdString(address.user));
    database.setDatabaseName(QString::fromStdString(address.database));
    // No password here: libpq reads PGPASSWORD or ~/.pgpass.
    database.setConnectOptions(QStringLiteral("connect_timeout=10"));
  } else {
    database.setDatabaseName(QString::fromStdString(address.path));
    // Claimers on one PC take turns for the write lock instead of failing at once.
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
  }
  auto connection = std::make_unique<CConnection>(address, database, name);
  database = QSqlDatabase();  // the connection holds the only handle, so it can remove it
  if (!connection->Database().open()) {
    errorText = connection->Describe("cannot reach the pool", connection->Database().lastError().text());
    return nullptr;
  }
  return std::unique_ptr<CImeiPool>(new CImeiPool(std::move(connection)));
}

CImeiPool::CImeiPool(std::unique_ptr<CConnection> connection) : m_connection(std::move(connection)) {}
CImeiPool::~CImeiPool() = default;

bool CImeiPool::IsPool(std::string& errorText) {
  QSqlQuery query(m_connection->Database());
  const bool read = query.prepare(QStringLiteral("SELECT value FROM tolvane_pool WHERE name = ?"));
  query.addBindValue(QStringLiteral("format"));
  if (read && query.exec() && query.next() && query.value(0).toString() == QLatin1String(kFormat)) return true;
  errorText = m_connection->Describe("not an IMEI pool", QStringLiteral("make one with tolvane-provision pool init"));
  return false;
}

bool CImeiPool::Init(std::string& errorText) {
  QStringList present = m_connection->Database().tables();
  if (present.contains(QStringLiteral("tolvane_pool"))) return IsPool(errorText);
  if (!present.isEmpty()) {
    present.sort();
    errorText = m_connection->Describe("this database holds something else, so it is not made a pool",
                                       QStringLiteral("tables ") + present.join(QStringLiteral(", ")));
    return false;
  }
  if (!m_connection->BeginWrite(errorText)) return false;
  for (const char* statement : kSchema)
    if (!m_connection->Run(QString::fromLatin1(statement), {}, errorText)) return m_connection->Abandon();
  const QString insert = QStringLiteral("INSERT INTO tolvane_pool (name, value) VALUES (?, ?)");
  if (!m_connection->Run(insert, {QStringLiteral("format"), QString::fromLatin1(kFormat)}, errorText) ||
      !m_connection->Run(insert, {QStringLiteral("version"), QString::fromLatin1(kVersion)}, errorText))
    return m_connection->Abandon();
  if (!m_connection->Commit(errorText)) return false;
  // Readers (pool status) then never wait for a claim on SQLite.
  std::string ignored;
  if (!m_connection->IsPostgres()) m_connection->Run(QStringLiteral("PRAGMA journal_mode=WAL"), {}, ignored);
  return true;
}

}  // namespace tolvane
