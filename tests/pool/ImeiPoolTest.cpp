// The pool on a real database: SQLite on a temporary file, and PostgreSQL in the throw-away cluster
// that the tolvane_pool_postgresql_tests run starts (pg_virtualenv sets PGHOST, PGPORT, PGUSER).
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <thread>

#include "PoolBackends.h"
#include "pool/ImeiCheck.h"
#include "pool/ImeiPool.h"

namespace tolvane::testing {
namespace {

// n IMEIs with their check digits.
std::vector<std::string> Imeis(int count, int first = 0) {
  std::vector<std::string> imeis;
  for (int n = first; n < first + count; ++n) {
    std::string body = "86000000" + std::to_string(1000000 + n).substr(1);
    imeis.push_back(body + ImeiCheckDigit(body));
  }
  return imeis;
}

template <typename Backend>
class ImeiPoolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ClusterMissing<Backend>()) {
      // Run through pg_virtualenv, a missing cluster is a fault, not a reason to skip.
      if (std::getenv("TOLVANE_REQUIRE_POSTGRESQL")) FAIL() << "no PostgreSQL cluster in the environment";
      GTEST_SKIP() << "no PostgreSQL cluster in the environment";
    }
    m_backend = std::make_unique<Backend>();
    m_pool = Open(true);
    ASSERT_TRUE(m_pool) << m_error;
    ASSERT_TRUE(m_pool->Init(m_error)) << m_error;
  }
  std::unique_ptr<CImeiPool> Open(bool create = false) {
    return CImeiPool::Open(m_backend->Address(), create, m_error);
  }
  std::map<EImeiState, int> Counts() {
    std::map<EImeiState, int> counts;
    EXPECT_TRUE(m_pool->Counts(counts, m_error)) << m_error;
    return counts;
  }

  std::unique_ptr<Backend> m_backend;
  std::unique_ptr<CImeiPool> m_pool;
  std::string m_error;
};

TYPED_TEST_SUITE(ImeiPoolTest, Backends, BackendName);

// The states counted from the rows themselves, past the pool's own counts.
template <typename Backend>
std::map<EImeiState, int> CountedFromRows(Backend& backend) {
  std::map<EImeiState, int> counts;
  for (int state = 0; state < 5; ++state) counts[static_cast<EImeiState>(state)] = 0;
  std::string reason;
  const auto database = backend.Connect(reason);
  EXPECT_TRUE(database) << reason;
  if (!database) return counts;
  CPoolRows rows;
  EXPECT_EQ(database->Execute("SELECT state, COUNT(*) FROM tolvane_imei GROUP BY state", {}, rows, reason),
            IPoolConnection::EExecuted::Done)
      << reason;
  while (rows.Next())
    for (int state = 0; state < 5; ++state)
      if (rows.Text(0) == StateName(static_cast<EImeiState>(state)))
        counts[static_cast<EImeiState>(state)] = std::stoi(rows.Text(1));
  return counts;
}

TYPED_TEST(ImeiPoolTest, initIsIdempotentAndImportSkipsWhatIsThere) {
  ASSERT_TRUE(this->m_pool->Init(this->m_error)) << this->m_error;
  int added = 0, skipped = 0;
  ASSERT_TRUE(this->m_pool->Import(Imeis(5), added, skipped, this->m_error)) << this->m_error;
  EXPECT_EQ(added, 5);
  ASSERT_TRUE(this->m_pool->Import(Imeis(7), added, skipped, this->m_error)) << this->m_error;
  EXPECT_EQ(added, 2);
  EXPECT_EQ(skipped, 5);
  EXPECT_EQ(this->Counts()[EImeiState::Free], 7);
}

TYPED_TEST(ImeiPoolTest, claimersAtOnceNeverShareAnImeiAndLoseNone) {
  int added = 0, skipped = 0;
  ASSERT_TRUE(this->m_pool->Import(Imeis(40), added, skipped, this->m_error));
  std::vector<std::vector<std::string>> taken(8);
  std::vector<std::thread> claimers;
  for (std::size_t c = 0; c < taken.size(); ++c)
    claimers.emplace_back([this, &taken, c] {
      std::string error;
      auto pool = this->Open();
      ASSERT_TRUE(pool) << error;
      CClaim claim;
      const CClaimRequest request{"bench \"1\"; east", "COM" + std::to_string(33 + c), "", "", ""};
      while (pool->Claim(request, claim, error) == CImeiPool::EClaimResult::Taken) taken[c].push_back(claim.imei);
      EXPECT_EQ(error, "");
    });
  for (auto& claimer : claimers) claimer.join();
  std::multiset<std::string> all;
  for (const auto& mine : taken) all.insert(mine.begin(), mine.end());
  EXPECT_EQ(all.size(), 40u);
  EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), 40u);
  EXPECT_EQ(this->Counts()[EImeiState::Claimed], 40);
  std::vector<CPoolRecord> records;
  ASSERT_TRUE(this->m_pool->Records(records, true, this->m_error));
  EXPECT_EQ(records.front().station, "bench \"1\"; east");
}

TYPED_TEST(ImeiPoolTest, aClaimIsSettledOnlyByItsOwnRunAndReleasedOnlyBeforeItReachedADevice) {
  int added = 0, skipped = 0;
  ASSERT_TRUE(this->m_pool->Import(Imeis(2), added, skipped, this->m_error));
  CClaim first, second;
  ASSERT_EQ(this->m_pool->Claim({"s", "COM200", "", "356938035643809", ""}, first, this->m_error),
            CImeiPool::EClaimResult::Taken);
  ASSERT_EQ(this->m_pool->Claim({"s", "COM201", "", "", ""}, second, this->m_error), CImeiPool::EClaimResult::Taken);
  CClaim noImeiLeft;
  EXPECT_EQ(this->m_pool->Claim({"s", "COM202", "", "", ""}, noImeiLeft, this->m_error),
            CImeiPool::EClaimResult::Empty);

  ASSERT_TRUE(
      this->m_pool->Report(first, {EImeiState::Written, "356938035643809", "", "Write IMEI OK", ""}, this->m_error));
  EXPECT_EQ(this->m_pool->Release(first.imei, "s", this->m_error), CImeiPool::EReleaseResult::Refused);
  // The second run died: a person checks its device and releases the claim; the run's late
  // report must not overwrite the next claim.
  EXPECT_EQ(this->m_pool->Release(second.imei, "s", this->m_error), CImeiPool::EReleaseResult::Released);
  CClaim again;
  ASSERT_EQ(this->m_pool->Claim({"s", "COM203", "", "", ""}, again, this->m_error), CImeiPool::EClaimResult::Taken);
  EXPECT_EQ(again.imei, second.imei);
  EXPECT_FALSE(this->m_pool->Report(second, {EImeiState::Failed, "", "", "", ""}, this->m_error));
  EXPECT_EQ(this->Counts()[EImeiState::Claimed], 1);
  EXPECT_EQ(this->Counts()[EImeiState::Written], 1);
}

TYPED_TEST(ImeiPoolTest, aDatabaseThatHoldsSomethingElseIsNotMadeAPool) {
  TypeParam other;
  other.Execute("CREATE TABLE customers (name TEXT)");
  std::string error;
  auto pool = CImeiPool::Open(other.Address(), true, error);
  ASSERT_TRUE(pool) << error;
  EXPECT_FALSE(pool->Init(error));
  EXPECT_NE(error.find("customers"), std::string::npos) << error;
  EXPECT_FALSE(pool->IsPool(error));
}

TYPED_TEST(ImeiPoolTest, aDatabaseIsEmptyOrAPool_whateverElseItHoldsIsRefused) {
  std::vector<std::vector<const char*>> holdings{{"CREATE VIEW answer AS SELECT 42 AS n"}};
  if constexpr (std::is_same_v<TypeParam, PostgreSQLBackend>)
    holdings.insert(holdings.end(),
                    {{"CREATE TABLE \"Inventory\" (n INTEGER)"},
                     {"CREATE TABLE pg_stock (n INTEGER)"},
                     {"CREATE TABLE parts (n INTEGER) PARTITION BY RANGE (n)"},
                     {"CREATE MATERIALIZED VIEW answers AS SELECT 42 AS n"},
                     {"CREATE SEQUENCE serials"},
                     {"CREATE TYPE colour AS ENUM ('red')"},
                     {"CREATE FUNCTION one() RETURNS integer LANGUAGE sql AS 'SELECT 1'"}});
  for (const auto& statements : holdings) {
    TypeParam other;
    for (const char* statement : statements) other.Execute(statement);
    std::string error;
    auto pool = CImeiPool::Open(other.Address(), true, error);
    ASSERT_TRUE(pool) << error;
    EXPECT_FALSE(pool->Init(error)) << statements.front();
    EXPECT_NE(error.find("holds something else"), std::string::npos) << error;
  }
}

TYPED_TEST(ImeiPoolTest, theCountsThePoolKeepsFollowEveryChangeOfState) {
  int added = 0, skipped = 0;
  // More than one statement's worth of rows, some already there.
  ASSERT_TRUE(this->m_pool->Import(Imeis(3), added, skipped, this->m_error)) << this->m_error;
  ASSERT_TRUE(this->m_pool->Import(Imeis(2500), added, skipped, this->m_error)) << this->m_error;
  EXPECT_EQ(added, 2497);
  EXPECT_EQ(skipped, 3);
  CClaim written, failed, unconfirmed, released;
  for (CClaim* claim : {&written, &failed, &unconfirmed, &released})
    ASSERT_EQ(this->m_pool->Claim({"s", "COM200", "", "", ""}, *claim, this->m_error), CImeiPool::EClaimResult::Taken);
  ASSERT_TRUE(this->m_pool->Report(written, {EImeiState::Verified, "", "", "", ""}, this->m_error));
  ASSERT_TRUE(this->m_pool->Report(failed, {EImeiState::Failed, "", "", "", ""}, this->m_error));
  ASSERT_TRUE(this->m_pool->Report(unconfirmed, {EImeiState::Claimed, "", "", "", "no answer"}, this->m_error));
  ASSERT_EQ(this->m_pool->Release(released.imei, "s", this->m_error), CImeiPool::EReleaseResult::Released);
  ASSERT_EQ(this->m_pool->Release(failed.imei, "s", this->m_error), CImeiPool::EReleaseResult::Released);

  const std::map<EImeiState, int> counts = this->Counts();
  EXPECT_EQ(counts, CountedFromRows(*this->m_backend));
  EXPECT_EQ(counts.at(EImeiState::Free), 2498);
  EXPECT_EQ(counts.at(EImeiState::Claimed), 1);
  EXPECT_EQ(counts.at(EImeiState::Verified), 1);
}

// A pool that an earlier version made: its tables exactly as that version wrote them.
TYPED_TEST(ImeiPoolTest, aPoolOfTheFirstVersionStillOpensAndIsBroughtUpToDateOnce) {
  TypeParam old;
  for (const char* statement :
       {"CREATE TABLE tolvane_pool (name TEXT PRIMARY KEY, value TEXT NOT NULL)",
        "CREATE TABLE tolvane_imei (imei TEXT PRIMARY KEY, state TEXT NOT NULL CHECK (state IN ('free', 'claimed',"
        " 'written', 'verified', 'failed')), claim_token TEXT, station TEXT, port TEXT, usb_serial TEXT,"
        " imei_before TEXT, imei_after TEXT, settings_after TEXT, steps TEXT, detail TEXT, imported_at TEXT NOT NULL,"
        " claimed_at TEXT, reported_at TEXT)",
        "CREATE INDEX tolvane_imei_by_state ON tolvane_imei (state, imei)",
        "CREATE TABLE tolvane_imei_event (imei TEXT NOT NULL, at TEXT NOT NULL, event TEXT NOT NULL, station TEXT,"
        " port TEXT, detail TEXT)",
        "INSERT INTO tolvane_pool (name, value) VALUES ('format', 'tolvane-imei-pool'), ('version', '1')",
        "INSERT INTO tolvane_imei (imei, state, imported_at) VALUES ('860000000000007', 'free', 'x'),"
        " ('860000000000015', 'free', 'x'), ('860000000000023', 'verified', 'x')"})
    old.Execute(statement);
  std::string error;
  auto pool = CImeiPool::Open(old.Address(), false, error);
  ASSERT_TRUE(pool && pool->IsPool(error)) << error;
  std::map<EImeiState, int> counts;
  ASSERT_TRUE(pool->Counts(counts, error)) << error;
  EXPECT_EQ(counts[EImeiState::Free], 2);
  EXPECT_EQ(counts[EImeiState::Verified], 1);

  // A second program, opened on the pool as it now is, and a claim by either moves the counts.
  auto again = CImeiPool::Open(old.Address(), false, error);
  ASSERT_TRUE(again && again->IsPool(error)) << error;
  CClaim claim;
  ASSERT_EQ(again->Claim({"s", "COM200", "", "", ""}, claim, error), CImeiPool::EClaimResult::Taken) << error;
  EXPECT_EQ(claim.imei, "860000000000007");
  ASSERT_TRUE(pool->Counts(counts, error)) << error;
  EXPECT_EQ(counts[EImeiState::Free], 1);
  EXPECT_EQ(counts[EImeiState::Claimed], 1);
  EXPECT_EQ(counts, CountedFromRows(old));

  std::string reason;
  const auto database = old.Connect(reason);
  ASSERT_TRUE(database) << reason;
  CPoolRows rows;
  ASSERT_EQ(database->Execute("SELECT value FROM tolvane_pool WHERE name = 'version'", {}, rows, reason),
            IPoolConnection::EExecuted::Done);
  ASSERT_TRUE(rows.Next());
  EXPECT_EQ(rows.Text(0), "3");
}

}  // namespace
}  // namespace tolvane::testing
