#include "pool/PoolConnection.h"

#include <QDateTime>
#include <QSqlError>

namespace tolvane {

QString PoolTimestamp() { return QDateTime::currentDateTimeUtc().toString(Qt::ISODate); }

CImeiPool::CConnection::~CConnection() {
  m_database.close();
  m_database = QSqlDatabase();
  QSqlDatabase::removeDatabase(m_name);
}

std::string CImeiPool::CConnection::Describe(const std::string& what, const QString& reason) const {
  return what + " (" + m_address.shown + "): " + reason.trimmed().toStdString();
}

bool CImeiPool::CConnection::Run(QSqlQuery& query, const QString& sql, std::initializer_list<QVariant> values,
                                 std::string& errorText) {
  // PostgreSQL prepares only statements that take values; the rest (the schema) runs as it is.
  if (values.size() == 0) {
    if (query.exec(sql)) return true;
    errorText = Describe("the pool failed", query.lastError().text());
    return false;
  }
  if (!query.prepare(sql)) {
    errorText = Describe("the pool refused a statement", query.lastError().text());
    return false;
  }
  for (const QVariant& value : values) query.addBindValue(value);
  if (query.exec()) return true;
  errorText = Describe("the pool failed", query.lastError().text());
  return false;
}

bool CImeiPool::CConnection::Run(const QString& sql, std::initializer_list<QVariant> values, std::string& errorText) {
  QSqlQuery query(m_database);
  return Run(query, sql, values, errorText);
}

bool CImeiPool::CConnection::BeginWrite(std::string& errorText) {
  QSqlQuery query(m_database);
  if (query.exec(IsPostgres() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN IMMEDIATE"))) return true;
  errorText = Describe("the pool is busy", query.lastError().text());
  return false;
}

bool CImeiPool::CConnection::Commit(std::string& errorText) {
  QSqlQuery query(m_database);
  if (query.exec(QStringLiteral("COMMIT"))) return true;
  errorText = Describe("the pool did not commit", query.lastError().text());
  Rollback();
  return false;
}

void CImeiPool::CConnection::Rollback() {
  QSqlQuery query(m_database);
  query.exec(QStringLiteral("ROLLBACK"));
}

}  // namespace tolvane
