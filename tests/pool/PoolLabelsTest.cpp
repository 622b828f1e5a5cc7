// Labels in the pool's record, and the bench's view of the pool, on both databases.
#include <gtest/gtest.h>

#include "PoolBackends.h"
#include "pool/BenchPoolOverImeiPool.h"
#include "pool/ProductionRecord.h"

namespace tolvane::testing {
namespace {

const std::vector<std::string> kImeis{"860000000000007", "860000000000015", "860000000000023"};

template <typename Backend>
class PoolLabelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (ClusterMissing<Backend>()) {
      if (std::getenv("TOLVANE_REQUIRE_POSTGRESQL")) FAIL() << "no PostgreSQL cluster in the environment";
      GTEST_SKIP() << "no PostgreSQL cluster in the environment";
    }
    m_pool = CImeiPool::Open(m_backend.Address(), true, m_error);
    ASSERT_TRUE(m_pool && m_pool->Init(m_error)) << m_error;
    int added = 0, skipped = 0;
    ASSERT_TRUE(m_pool->Import(kImeis, added, skipped, m_error)) << m_error;
  }
  CImeiPool::EClaimResult Claim(CImeiPool& pool, const std::string& label, CClaim& claim) {
    return pool.Claim({"bench-1", "COM200", "A10KX3", "", label}, claim, m_error);
  }
  std::string LabelOf(CImeiPool& pool, const std::string& imei) {
    std::vector<CPoolRecord> records;
    EXPECT_TRUE(pool.Records(records, false, m_error)) << m_error;
    for (const CPoolRecord& record : records)
      if (record.imei == imei) return record.label;
    return "(no such IMEI)";
  }

  Backend m_backend;
  std::unique_ptr<CImeiPool> m_pool;
  std::string m_error;
};

TYPED_TEST_SUITE(PoolLabelsTest, Backends, BackendName);

TYPED_TEST(PoolLabelsTest, aClaimKeepsItsLabel_aLabelGoesWithOneImeiOnly_untilItsClaimIsReleased) {
  CImeiPool& pool = *this->m_pool;
  CClaim first, unlabelled, alsoUnlabelled, other, refused;
  ASSERT_EQ(this->Claim(pool, "A-0001", first), CImeiPool::EClaimResult::Taken) << this->m_error;
  ASSERT_EQ(this->Claim(pool, "", unlabelled), CImeiPool::EClaimResult::Taken) << this->m_error;
  EXPECT_EQ(this->Claim(pool, "A-0001", refused), CImeiPool::EClaimResult::Failed);
  EXPECT_EQ(this->m_error, "label A-0001 went with IMEI " + first.imei + " already");
  std::map<EImeiState, int> counts;
  ASSERT_TRUE(pool.Counts(counts, this->m_error));
  EXPECT_EQ(counts[EImeiState::Free], 1);
  // Units without a label never collide with each other.
  ASSERT_EQ(this->Claim(pool, "", alsoUnlabelled), CImeiPool::EClaimResult::Taken) << this->m_error;

  std::vector<CPoolRecord> records;
  ASSERT_TRUE(pool.Records(records, false, this->m_error)) << this->m_error;
  ASSERT_EQ(records.front().imei, first.imei);
  EXPECT_EQ(ProductionRecordCsvLine(records.front()).substr(ProductionRecordCsvLine(records.front()).size() - 9),
            ",A-0001\r\n");
  EXPECT_EQ(this->LabelOf(pool, unlabelled.imei), "");

  // Released, the unit is provisioned again under its label.
  ASSERT_EQ(pool.Release(first.imei, "bench-1", this->m_error), CImeiPool::EReleaseResult::Released);
  std::string imei;
  ASSERT_TRUE(pool.ImeiOfLabel("A-0001", imei, this->m_error));
  EXPECT_EQ(imei, "");
  ASSERT_EQ(this->Claim(pool, "A-0001", other), CImeiPool::EClaimResult::Taken) << this->m_error;
  ASSERT_TRUE(pool.ImeiOfLabel("A-0001", imei, this->m_error));
  EXPECT_EQ(imei, other.imei);
}

// A pool of the second version: the present tables without the labels.
TYPED_TEST(PoolLabelsTest, aPoolOfTheSecondVersionIsBroughtUpToDate_keepingWhatItHolds) {
  CClaim old;
  ASSERT_EQ(this->Claim(*this->m_pool, "", old), CImeiPool::EClaimResult::Taken);
  this->m_pool.reset();
  for (const char* statement : {"DROP INDEX tolvane_imei_label", "ALTER TABLE tolvane_imei DROP COLUMN label",
                                "UPDATE tolvane_pool SET value = '2' WHERE name = 'version'"})
    this->m_backend.Execute(statement);

  auto pool = CImeiPool::Open(this->m_backend.Address(), false, this->m_error);
  ASSERT_TRUE(pool && pool->IsPool(this->m_error)) << this->m_error;
  std::vector<CPoolRecord> claimed;
  ASSERT_TRUE(pool->Records(claimed, true, this->m_error)) << this->m_error;
  ASSERT_EQ(claimed.size(), 1u);
  EXPECT_EQ(claimed[0].imei, old.imei);
  EXPECT_EQ(claimed[0].usbSerial, "A10KX3");
  std::map<EImeiState, int> counts;
  ASSERT_TRUE(pool->Counts(counts, this->m_error));
  EXPECT_EQ(counts[EImeiState::Free], 2);
  EXPECT_EQ(counts[EImeiState::Claimed], 1);
  CClaim labelled;
  ASSERT_EQ(this->Claim(*pool, "B-7", labelled), CImeiPool::EClaimResult::Taken) << this->m_error;
  EXPECT_EQ(this->LabelOf(*pool, labelled.imei), "B-7");
}

TYPED_TEST(PoolLabelsTest, theBenchListsUnconfirmedClaims_releasesThemAsPoolReleaseDoes_andFindsLabels) {
  std::string error;
  EXPECT_FALSE(OpenBenchPool(this->m_backend.Address().shown, "bench\n1", error));
  const std::unique_ptr<IBenchPool> bench = OpenBenchPool(this->m_backend.Address().shown, "bench-2", error);
  ASSERT_TRUE(bench) << error;
  CClaim unconfirmed, written;
  ASSERT_EQ(this->Claim(*this->m_pool, "A-1", unconfirmed), CImeiPool::EClaimResult::Taken);
  ASSERT_EQ(this->Claim(*this->m_pool, "A-2", written), CImeiPool::EClaimResult::Taken);
  ASSERT_TRUE(this->m_pool->Report(written, {EImeiState::Written, "", "", "", ""}, this->m_error));

  CPoolCounts counts;
  ASSERT_TRUE(bench->Counts(counts, error)) << error;
  EXPECT_EQ(counts.free, 1);
  EXPECT_EQ(counts.unconfirmed, 1);
  std::vector<CUnconfirmedClaim> claims;
  ASSERT_TRUE(bench->Unconfirmed(claims, error)) << error;
  ASSERT_EQ(claims.size(), 1u);
  EXPECT_EQ(claims[0].imei, unconfirmed.imei);
  EXPECT_EQ(claims[0].station, "bench-1");
  EXPECT_EQ(claims[0].port, "COM200");
  EXPECT_EQ(claims[0].usbSerial, "A10KX3");
  EXPECT_FALSE(claims[0].claimedAt.empty());
  EXPECT_EQ(bench->LabelImei("A-2"), written.imei);
  EXPECT_EQ(bench->LabelImei("A-3"), std::nullopt);

  EXPECT_FALSE(bench->Release(written.imei, error));
  EXPECT_EQ(error, written.imei + " is written: it is in a device, so it stays");
  ASSERT_TRUE(bench->Release(unconfirmed.imei, error)) << error;
  ASSERT_TRUE(bench->Unconfirmed(claims, error)) << error;
  EXPECT_TRUE(claims.empty());
  EXPECT_EQ(bench->LabelImei("A-1"), std::nullopt);
}

}  // namespace
}  // namespace tolvane::testing
