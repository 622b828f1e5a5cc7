#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "pool/ImeiPool.h"
#include "pool/PoolDriver.h"

namespace tolvane {

// One database connection of a pool, with statements that take bound values only, and the
// database's reasons worded for whoever runs the command.
class CImeiPool::CConnection {
 public:
  CConnection(const CPoolAddress& address, std::unique_ptr<IPoolConnection> driver)
      : m_address(address), m_driver(std::move(driver)) {}

  // False when the database could not be reached.
  bool HasDriver() const { return m_driver != nullptr; }
  bool IsPostgres() const { return m_driver->Engine() == IPoolConnection::EEngine::PostgreSQL; }
  IPoolConnection& Driver() { return *m_driver; }
  // Runs one statement; false with the database's reason in `errorText`.
  bool Run(CPoolRows& rows, const std::string& sql, std::initializer_list<PoolValue> values, std::string& errorText);
  bool Run(CPoolRows& rows, const std::string& sql, const std::vector<PoolValue>& values, std::string& errorText);
  bool Run(const std::string& sql, std::initializer_list<PoolValue> values, std::string& errorText);
  // A query whose rows are handed over one at a time; false with the database's reason.
  bool Each(const std::string& sql, std::initializer_list<PoolValue> values, const PoolRowHandler& row,
            std::string& errorText);
  // A write transaction that waits its turn: SQLite takes its write lock at once (within the busy
  // timeout), so two claimers never both read the same free IMEI.
  bool BeginWrite(std::string& errorText);
  bool Commit(std::string& errorText);
  void Rollback() { m_driver->Rollback(); }
  // Rolls back; false, for a caller that gives up.
  bool Abandon() {
    Rollback();
    return false;
  }
  std::string Describe(const std::string& what, const std::string& reason) const;
  // Describe, unless the connection is of no more use: then that is what went wrong.
  std::string Fault(const std::string& what, const std::string& reason) const;

 private:
  // The database's outcome in the pool's words.
  bool Explain(IPoolConnection::EExecuted executed, bool hasValues, const std::string& reason,
               std::string& errorText) const;

  CPoolAddress m_address;
  std::unique_ptr<IPoolConnection> m_driver;
};

// UTC, to the second, the same text on every database.
std::string PoolTimestamp();

}  // namespace tolvane
