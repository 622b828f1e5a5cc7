#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <string>

#include "pool/ImeiPool.h"

namespace tolvane {

// One database connection of a pool, with statements that take bound values only.
class CImeiPool::CConnection {
 public:
  CConnection(const CPoolAddress& address, QSqlDatabase database, QString name)
      : m_address(address), m_database(std::move(database)), m_name(std::move(name)) {}
  ~CConnection();

  bool IsPostgres() const { return m_address.kind == CPoolAddress::EKind::PostgreSQL; }
  QSqlDatabase& Database() { return m_database; }
  // Prepares and runs; false with the database's reason in `errorText`.
  bool Run(QSqlQuery& query, const QString& sql, std::initializer_list<QVariant> values, std::string& errorText);
  bool Run(const QString& sql, std::initializer_list<QVariant> values, std::string& errorText);
  // A write transaction that waits its turn: SQLite takes its write lock at once (within the busy
  // timeout), so two claimers never both read the same free IMEI.
  bool BeginWrite(std::string& errorText);
  bool Commit(std::string& errorText);
  void Rollback();
  // Rolls back; false, for a caller that gives up.
  bool Abandon() {
    Rollback();
    return false;
  }
  std::string Describe(const std::string& what, const QString& reason) const;

 private:
  CPoolAddress m_address;
  QSqlDatabase m_database;
  QString m_name;
};

// UTC, to the second, the same text on every database.
QString PoolTimestamp();

}  // namespace tolvane
