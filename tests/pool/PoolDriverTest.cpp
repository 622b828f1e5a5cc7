// What the pool asks of each database's driver, on both: the same statement text and values give
// the same rows, counts and outcomes.
#include <gtest/gtest.h>

#include "PoolBackends.h"

namespace tolvane::testing {
namespace {

using EExecuted = IPoolConnection::EExecuted;

template <typename Backend>
class PoolDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ClusterMissing<Backend>()) {
      // Run through pg_virtualenv, a missing cluster is a fault, not a reason to skip.
      if (std::getenv("TOLVANE_REQUIRE_POSTGRESQL")) FAIL() << "no PostgreSQL cluster in the environment";
      GTEST_SKIP() << "no PostgreSQL cluster in the environment";
    }
    m_backend = std::make_unique<Backend>();
    m_database = m_backend->Connect(m_reason);
    ASSERT_TRUE(m_database) << m_reason;
    ASSERT_EQ(Run("CREATE TABLE unit (name TEXT PRIMARY KEY, note TEXT, n INTEGER)"), EExecuted::Done) << m_reason;
  }
  EExecuted Run(const std::string& sql, const std::vector<PoolValue>& values = {}) {
    return m_database->Execute(sql, values, m_rows, m_reason);
  }
  int Count() {
    EXPECT_EQ(Run("SELECT COUNT(*) FROM unit"), EExecuted::Done) << m_reason;
    return m_rows.Next() ? std::stoi(m_rows.Text(0)) : -1;
  }

  std::unique_ptr<Backend> m_backend;
  std::unique_ptr<IPoolConnection> m_database;
  CPoolRows m_rows;
  std::string m_reason;
};

TYPED_TEST_SUITE(PoolDriverTest, Backends, BackendName);

TYPED_TEST(PoolDriverTest, valuesReachTheDatabaseAsGivenAndAQuotedQuestionMarkIsNoValue) {
  const std::string hostile = "it's ?; \"x\" -- DROP TABLE unit; \xe4\xb8\xad";
  ASSERT_EQ(this->Run("INSERT INTO unit (name, note, n) VALUES (?, ?, ?)", {hostile, nullptr, 42LL}), EExecuted::Done)
      << this->m_reason;
  ASSERT_EQ(this->Run("INSERT INTO unit (name, note, n) VALUES (?, ?, ?)", {std::string("?"), std::string(), -1LL}),
            EExecuted::Done);
  ASSERT_EQ(this->Run("SELECT name, note, n FROM unit WHERE name <> '?' AND n = ?", {42LL}), EExecuted::Done)
      << this->m_reason;
  ASSERT_TRUE(this->m_rows.Next());
  EXPECT_EQ(this->m_rows.Text(0), hostile);
  EXPECT_TRUE(this->m_rows.IsNull(1));
  EXPECT_EQ(this->m_rows.Text(2), "42");
  EXPECT_FALSE(this->m_rows.Next());
  // An empty text is a value, not NULL.
  ASSERT_EQ(this->Run("SELECT note FROM unit WHERE name = ?", {std::string("?")}), EExecuted::Done);
  ASSERT_TRUE(this->m_rows.Next());
  EXPECT_FALSE(this->m_rows.IsNull(0));
}

TYPED_TEST(PoolDriverTest, onlyWritesCountChangedRowsAndFaultsAreToldApart) {
  for (const char* name : {"a", "b"})
    ASSERT_EQ(this->Run("INSERT INTO unit (name) VALUES (?)", {name}), EExecuted::Done);
  ASSERT_EQ(this->Run("UPDATE unit SET note = ?", {std::string("x")}), EExecuted::Done);
  EXPECT_EQ(this->m_rows.Changed(), 2);
  ASSERT_EQ(this->Run("INSERT INTO unit (name) VALUES (?) ON CONFLICT (name) DO NOTHING", {std::string("a")}),
            EExecuted::Done);
  EXPECT_EQ(this->m_rows.Changed(), 0);
  ASSERT_EQ(this->Run("SELECT name FROM unit"), EExecuted::Done);
  EXPECT_EQ(this->m_rows.Changed(), 0);

  EXPECT_EQ(this->Run("SELECT name FROM missing WHERE name = ?", {std::string("a")}), EExecuted::Refused);
  EXPECT_NE(this->m_reason.find("missing"), std::string::npos) << this->m_reason;
  this->m_reason.clear();
  EXPECT_EQ(this->Run("INSERT INTO unit (name) VALUES (?)", {std::string("a")}), EExecuted::Failed);
  EXPECT_NE(this->m_reason, "");
}

TYPED_TEST(PoolDriverTest, aRollbackUndoesWhatACommitKeepsAndTablesAreListedInOrder) {
  ASSERT_TRUE(this->m_database->BeginWrite(this->m_reason)) << this->m_reason;
  ASSERT_EQ(this->Run("INSERT INTO unit (name) VALUES (?)", {std::string("a")}), EExecuted::Done);
  this->m_database->Rollback();
  EXPECT_EQ(this->Count(), 0);
  ASSERT_TRUE(this->m_database->BeginWrite(this->m_reason)) << this->m_reason;
  ASSERT_EQ(this->Run("INSERT INTO unit (name) VALUES (?)", {std::string("a")}), EExecuted::Done);
  ASSERT_TRUE(this->m_database->Commit(this->m_reason)) << this->m_reason;
  EXPECT_EQ(this->Count(), 1);

  ASSERT_EQ(this->Run("CREATE TABLE another (name TEXT)"), EExecuted::Done);
  std::vector<std::string> tables;
  ASSERT_TRUE(this->m_database->Objects(tables, this->m_reason)) << this->m_reason;
  EXPECT_EQ(tables, (std::vector<std::string>{"another", "unit"}));
}

TYPED_TEST(PoolDriverTest, eachHandsRowsOverAsReadStopsWhenToldAndLeavesTheConnectionReady) {
  for (const char* name : {"c", "a", "b"})
    ASSERT_EQ(this->Run("INSERT INTO unit (name) VALUES (?)", {name}), EExecuted::Done);
  std::vector<std::string> seen;
  const auto each = [&seen](std::size_t wanted) {
    return [&seen, wanted](const CPoolRows& row) {
      seen.push_back(row.Text(0) + (row.IsNull(1) ? "" : "!"));
      return seen.size() < wanted;
    };
  };
  ASSERT_EQ(this->m_database->Each("SELECT name, note FROM unit WHERE name <> ? ORDER BY name", {std::string("?")},
                                   each(99), this->m_reason),
            EExecuted::Done)
      << this->m_reason;
  EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));
  // Stopped after the first row, the rest is not handed over and the next statement runs.
  seen.clear();
  ASSERT_EQ(this->m_database->Each("SELECT name, note FROM unit ORDER BY name", {}, each(1), this->m_reason),
            EExecuted::Done);
  EXPECT_EQ(seen, (std::vector<std::string>{"a"}));
  EXPECT_EQ(this->Count(), 3);

  EXPECT_EQ(
      this->m_database->Each("SELECT name FROM missing WHERE name = ?", {std::string("a")}, each(99), this->m_reason),
      EExecuted::Refused);
  EXPECT_NE(this->m_reason.find("missing"), std::string::npos) << this->m_reason;
  // A fault found while running, at the row "b": the connection takes the next statement all the same.
  this->m_reason.clear();
  EXPECT_EQ(this->m_database->Each("SELECT name, abs(CASE WHEN name = 'b' THEN -9223372036854775807 - 1 ELSE 0 END)"
                                   " FROM unit ORDER BY name",
                                   {}, each(99), this->m_reason),
            EExecuted::Failed);
  EXPECT_NE(this->m_reason, "");
  EXPECT_EQ(this->Count(), 3);
}

}  // namespace
}  // namespace tolvane::testing
