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
      const CClaimRequest request{"bench \"1\"; east", "COM" + std::to_string(33 + c), "", ""};
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
  ASSERT_EQ(this->m_pool->Claim({"s", "COM200", "", "356938035643809"}, first, this->m_error),
            CImeiPool::EClaimResult::Taken);
  ASSERT_EQ(this->m_pool->Claim({"s", "COM201", "", ""}, second, this->m_error), CImeiPool::EClaimResult::Taken);
  CClaim noImeiLeft;
  EXPECT_EQ(this->m_pool->Claim({"s", "COM202", "", ""}, noImeiLeft, this->m_error), CImeiPool::EClaimResult::Empty);

  ASSERT_TRUE(
      this->m_pool->Report(first, {EImeiState::Written, "356938035643809", "", "Write IMEI OK", ""}, this->m_error));
  EXPECT_EQ(this->m_pool->Release(first.imei, "s", this->m_error), CImeiPool::EReleaseResult::Refused);
  // The second run died: a person checks its device and releases the claim; the run's late
  // report must not overwrite the next claim.
  EXPECT_EQ(this->m_pool->Release(second.imei, "s", this->m_error), CImeiPool::EReleaseResult::Released);
  CClaim again;
  ASSERT_EQ(this->m_pool->Claim({"s", "COM203", "", ""}, again, this->m_error), CImeiPool::EClaimResult::Taken);
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

}  // namespace
}  // namespace tolvane::testing
