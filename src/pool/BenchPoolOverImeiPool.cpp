#include "pool/BenchPoolOverImeiPool.h"

#include "engine/ProvisionCommandLine.h"

namespace tolvane {

bool CBenchPoolOverImeiPool::Counts(CPoolCounts& counts, std::string& errorText) {
  std::map<EImeiState, int> states;
  if (!m_pPool->Counts(states, errorText)) return false;
  counts.free = states[EImeiState::Free];
  counts.unconfirmed = states[EImeiState::Claimed];
  return true;
}

bool CBenchPoolOverImeiPool::Unconfirmed(std::vector<CUnconfirmedClaim>& claims, std::string& errorText) {
  std::vector<CUnconfirmedClaim> read;
  const bool done = m_pPool->EachRecord(
      true,
      [&read](const CPoolRecord& record) {
        read.push_back({record.imei, record.station, record.port, record.claimedAt, record.usbSerial});
        return true;
      },
      errorText);
  // A list cut short by a fault would look like claims that were settled.
  if (done) claims = std::move(read);
  return done;
}

bool CBenchPoolOverImeiPool::Release(const std::string& imei, std::string& errorText) {
  return m_pPool->Release(imei, m_strStation, errorText) == CImeiPool::EReleaseResult::Released;
}

std::optional<std::string> CBenchPoolOverImeiPool::LabelImei(const std::string& label) {
  // A pool that does not answer here still refuses the label at the claim.
  std::string imei, error;
  if (!m_pPool->ImeiOfLabel(label, imei, error) || imei.empty()) return std::nullopt;
  return imei;
}

std::unique_ptr<IBenchPool> OpenBenchPool(const std::string& poolAddress, const std::string& station,
                                          std::string& error) {
  // As `pool release` has it: the station's name goes into the record.
  if (!IsStationName(station)) {
    error = kStationRule;
    return nullptr;
  }
  const std::optional<CPoolAddress> address = ParsePoolAddress(poolAddress, error);
  if (!address) return nullptr;
  std::unique_ptr<CImeiPool> pool = CImeiPool::Open(*address, false, error);
  if (!pool || !pool->IsPool(error)) return nullptr;
  return std::make_unique<CBenchPoolOverImeiPool>(std::move(pool), station);
}

}  // namespace tolvane
