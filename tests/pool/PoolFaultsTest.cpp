// A database that stops answering: every wait has its limit, and a user's stop ends it sooner. (A
// connection the server ends is tolvane-provision's test, in tests/e2e.)
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <thread>

#include "PoolBackends.h"

namespace tolvane::testing {
namespace {

using EExecuted = IPoolConnection::EExecuted;
using EState = IPoolConnection::EState;

// Stops a call under way from another thread, as the second Ctrl-C does. Stopping before the call
// waits would pass too; the pause makes it likely that the wait itself is ended.
template <typename Stoppable>
std::thread StopSoon(Stoppable& target) {
  return std::thread([&target] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    target.Abandon();
  });
}

// A backend that a hung server or a dead network path leaves silent; it goes on when the test ends.
class CStoppedBackend {
 public:
  explicit CStoppedBackend(IPoolConnection& connection) {
    CPoolRows rows;
    std::string reason;
    EXPECT_EQ(connection.Execute("SELECT pg_backend_pid()", {}, rows, reason), EExecuted::Done) << reason;
    m_pid = rows.Next() ? std::stoi(rows.Text(0)) : 0;
    EXPECT_GT(m_pid, 0);
    if (m_pid > 0) ::kill(m_pid, SIGSTOP);
  }
  ~CStoppedBackend() {
    if (m_pid > 0) ::kill(m_pid, SIGCONT);
  }
  CStoppedBackend(const CStoppedBackend&) = delete;
  CStoppedBackend& operator=(const CStoppedBackend&) = delete;

 private:
  int m_pid = 0;
};

class PoolFaultsPostgreSQL : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ClusterMissing<PostgreSQLBackend>()) {
      if (std::getenv("TOLVANE_REQUIRE_POSTGRESQL")) FAIL() << "no PostgreSQL cluster in the environment";
      GTEST_SKIP() << "no PostgreSQL cluster in the environment";
    }
    m_backend = std::make_unique<PostgreSQLBackend>();
  }
  std::unique_ptr<IPoolConnection> Connect(const CPostgresLimits& limits) {
    auto connection = ConnectPostgresPool(m_backend->Address(), limits, m_reason);
    EXPECT_TRUE(connection) << m_reason;
    return connection;
  }
  EExecuted Run(IPoolConnection& connection, const std::string& sql) {
    return connection.Execute(sql, {}, m_rows, m_reason);
  }

  std::unique_ptr<PostgreSQLBackend> m_backend;
  CPoolRows m_rows;
  std::string m_reason;
};

TEST_F(PoolFaultsPostgreSQL, aSlowStatementEndsInTheServersWords_aSilentServerAtThisSidesLimitOrAtAStop) {
  const auto limited = Connect({10, 200, 1500});
  ASSERT_TRUE(limited);
  EXPECT_EQ(Run(*limited, "SELECT pg_sleep(5)"), EExecuted::Failed);
  EXPECT_NE(m_reason.find("statement timeout"), std::string::npos) << m_reason;
  EXPECT_EQ(limited->State(), EState::Open);
  {
    const CStoppedBackend stopped(*limited);
    EXPECT_EQ(Run(*limited, "SELECT 1"), EExecuted::Failed);
    EXPECT_EQ(m_reason, "nothing within 2 s");
  }
  // Given up for good: nothing waits on it again.
  EXPECT_EQ(limited->State(), EState::Unanswered);
  m_reason.clear();
  EXPECT_EQ(Run(*limited, "SELECT 1"), EExecuted::Failed);
  EXPECT_EQ(m_reason, "nothing within 2 s");

  const auto patient = Connect({});
  ASSERT_TRUE(patient);
  const CStoppedBackend stopped(*patient);
  std::thread stop = StopSoon(*patient);
  EXPECT_EQ(Run(*patient, "SELECT 1"), EExecuted::Failed);
  stop.join();
  EXPECT_EQ(m_reason, "given up when the run was stopped");
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
  EXPECT_EQ(brief->State(), EState::Open);  // busy is not gone: the next turn may come

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
