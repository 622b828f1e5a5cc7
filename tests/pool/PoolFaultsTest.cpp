// A database that stops answering: every wait has its limit, and a user's stop ends it sooner. (A
// connection the server ends is tolvane-provision's test, in tests/e2e.)
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "PoolBackends.h"

namespace tolvane::testing {
namespace {

using EState = IPoolConnection::EState;

// Ends a wait from another thread, as the second Ctrl-C does. Ending it before the wait began would
// pass too; the pause makes it likely that the wait itself is ended.
std::thread StopSoon(IPoolConnection& connection) {
  return std::thread([&connection] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    connection.Abandon();
  });
}

// Stops the connection's backend, as a hung server or a dead network path leaves it; it goes on
// when the guard goes.
std::shared_ptr<void> StopBackend(IPoolConnection& connection) {
  CPoolRows rows;
  std::string reason;
  EXPECT_EQ(connection.Execute("SELECT pg_backend_pid()", {}, rows, reason), IPoolConnection::EExecuted::Done);
  const int pid = rows.Next() ? std::stoi(rows.Text(0)) : 0;
  EXPECT_GT(pid, 0) << reason;
  if (pid > 0) ::kill(pid, SIGSTOP);
  return std::shared_ptr<void>(nullptr, [pid](void*) {
    if (pid > 0) ::kill(pid, SIGCONT);
  });
}

TEST(PoolFaultsPostgreSQL, aSlowStatementEndsInTheServersWords_aSilentServerAtThisSidesLimitOrAtAStop) {
  if (ClusterMissing<PostgreSQLBackend>()) {
    if (std::getenv("TOLVANE_REQUIRE_POSTGRESQL")) FAIL() << "no PostgreSQL cluster in the environment";
    GTEST_SKIP() << "no PostgreSQL cluster in the environment";
  }
  PostgreSQLBackend backend;
  std::string reason;
  CPoolRows rows;
  const auto limited = ConnectPostgresPool(backend.Address(), {10, 200, 1500}, reason);
  ASSERT_TRUE(limited) << reason;
  EXPECT_NE(limited->Execute("SELECT pg_sleep(5)", {}, rows, reason), IPoolConnection::EExecuted::Done);
  EXPECT_NE(reason.find("statement timeout"), std::string::npos) << reason;
  EXPECT_EQ(limited->State(), EState::Open);
  {
    const auto stopped = StopBackend(*limited);
    EXPECT_NE(limited->Execute("SELECT 1", {}, rows, reason), IPoolConnection::EExecuted::Done);
    EXPECT_EQ(reason, "nothing within 2 s");
  }
  // Given up for good: nothing waits on it again.
  reason.clear();
  EXPECT_NE(limited->Execute("SELECT 1", {}, rows, reason), IPoolConnection::EExecuted::Done);
  EXPECT_EQ(reason, "nothing within 2 s");
  EXPECT_EQ(limited->State(), EState::Unanswered);

  const auto patient = ConnectPostgresPool(backend.Address(), {}, reason);
  ASSERT_TRUE(patient) << reason;
  const auto stopped = StopBackend(*patient);
  std::thread stop = StopSoon(*patient);
  EXPECT_NE(patient->Execute("SELECT 1", {}, rows, reason), IPoolConnection::EExecuted::Done);
  stop.join();
  EXPECT_EQ(reason, "given up when the run was stopped");
}

TEST(PoolFaultsSQLite, aWriterHoldingTheLock_isWaitedForUntilTheBusyTimeoutOrAStop) {
  SQLiteBackend backend;
  std::string reason;
  const auto holder = backend.Connect(reason);
  ASSERT_TRUE(holder && holder->BeginWrite(reason)) << reason;
  const auto brief = OpenSqlitePool(backend.Address().path, false, 300, reason);
  ASSERT_TRUE(brief) << reason;
  EXPECT_FALSE(brief->BeginWrite(reason));
  EXPECT_EQ(reason, "database is locked (waited 1 s)");
  EXPECT_EQ(brief->State(), EState::Open);  // a turn may come yet

  const auto patient = OpenSqlitePool(backend.Address().path, false, 60'000, reason);
  ASSERT_TRUE(patient) << reason;
  std::thread stop = StopSoon(*patient);
  EXPECT_FALSE(patient->BeginWrite(reason));
  stop.join();
  EXPECT_EQ(reason, "given up when the run was stopped");
  EXPECT_EQ(patient->State(), EState::Unanswered);
}

}  // namespace
}  // namespace tolvane::testing
