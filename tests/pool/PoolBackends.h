// The databases the pool's tests run on: SQLite on a temporary file, and PostgreSQL in the
// throw-away cluster that the tolvane_pool_postgresql_tests run starts (pg_virtualenv sets PGHOST,
// PGPORT, PGUSER).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>

#include "TemporaryDirectory.h"
#include "pool/PoolAddress.h"
#include "pool/PostgresDriver.h"
#include "pool/SqliteDriver.h"

namespace tolvane::testing {

// Runs one statement on the database itself, past the pool.
inline void Execute(const std::unique_ptr<IPoolConnection>& database, const std::string& error,
                    const std::string& statement) {
  ASSERT_TRUE(database) << error;
  CPoolRows rows;
  std::string reason;
  EXPECT_EQ(database->Execute(statement, {}, rows, reason), IPoolConnection::EExecuted::Done)
      << statement << ": " << reason;
}

struct SQLiteBackend {
  CTemporaryDirectory directory;
  CPoolAddress Address() {
    CPoolAddress address;
    address.path = address.shown = directory.FilePath("pool.db");
    return address;
  }
  std::unique_ptr<IPoolConnection> Connect(std::string& error) {
    return OpenSqlitePool(Address().path, true, 15000, error);
  }
  void Execute(const std::string& statement) {
    std::string error;
    testing::Execute(Connect(error), error, statement);
  }
};

// A database of its own for each test, in the cluster the environment names.
struct PostgreSQLBackend {
  static int Next() {
    static int next = 0;
    return ++next;
  }
  std::string name = "tolvane_test_" + std::to_string(::getpid()) + "_" + std::to_string(Next());
  PostgreSQLBackend() { Run("postgres", "CREATE DATABASE " + name); }
  ~PostgreSQLBackend() { Run("postgres", "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)"); }
  void Execute(const std::string& statement) { Run(name, statement); }
  static void Run(const std::string& database, const std::string& statement) {
    CPoolAddress address;
    address.kind = CPoolAddress::EKind::PostgreSQL;
    address.host = std::getenv("PGHOST");
    address.port = std::atoi(std::getenv("PGPORT"));
    address.user = std::getenv("PGUSER");
    address.database = database;
    std::string error;
    testing::Execute(ConnectPostgresPool(address, {}, error), error, statement);
  }
  CPoolAddress Address() {
    std::string error;
    return *ParsePoolAddress(std::string("postgresql://") + std::getenv("PGUSER") + "@" + std::getenv("PGHOST") + ":" +
                                 std::getenv("PGPORT") + "/" + name,
                             error);
  }
  std::unique_ptr<IPoolConnection> Connect(std::string& error) { return ConnectPostgresPool(Address(), {}, error); }
};

struct BackendName {
  template <typename Backend>
  static std::string GetName(int) {
    return std::is_same_v<Backend, SQLiteBackend> ? "SQLite" : "PostgreSQL";
  }
};
using Backends = ::testing::Types<SQLiteBackend, PostgreSQLBackend>;

// Whether the backend has no database here: PostgreSQL outside pg_virtualenv.
template <typename Backend>
bool ClusterMissing() {
  if constexpr (std::is_same_v<Backend, PostgreSQLBackend>) return std::getenv("PGHOST") == nullptr;
  return false;
}

}  // namespace tolvane::testing
