#include "pool/ImeiPoolSource.h"

#include "engine/ProvisionReport.h"
#include "pool/PoolAddress.h"

namespace tolvane {

namespace {

EImeiState StateOf(CSettlement::EState state) {
  switch (state) {
    case CSettlement::EState::Written: return EImeiState::Written;
    case CSettlement::EState::Verified: return EImeiState::Verified;
    case CSettlement::EState::Failed: return EImeiState::Failed;
    case CSettlement::EState::Unconfirmed: break;
  }
  // It may have reached the device: it stays claimed until a person has looked.
  return EImeiState::Claimed;
}

}  // namespace

std::string CImeiPoolSource::Describe() {
  std::map<EImeiState, int> counts;
  std::string error;
  if (!m_pPool->Counts(counts, error)) return "IMEI pool " + m_strAddress + ".";
  return "IMEI pool " + m_strAddress + ": " + std::to_string(counts[EImeiState::Free]) + " free; station " +
         m_strStation + ".";
}

std::optional<std::string> CImeiPoolSource::Likely(std::string& errorText) {
  std::string imei;
  if (!m_pPool->NextFree(imei, errorText) || imei.empty()) return std::nullopt;
  return imei;
}

IImeiSource::ETake CImeiPoolSource::Take(const CUnit& unit, std::string& imei, std::string& errorText) {
  CClaim claim;
  switch (m_pPool->Claim({m_strStation, unit.port, unit.usbSerial, unit.imeiBefore, unit.label}, claim, errorText)) {
    case CImeiPool::EClaimResult::Taken:
      imei = claim.imei;
      m_claims[claim.imei] = claim;
      return ETake::Taken;
    case CImeiPool::EClaimResult::Empty: return ETake::NoneLeft;
    case CImeiPool::EClaimResult::Failed: break;
  }
  return ETake::Failed;
}

bool CImeiPoolSource::Settle(const std::string& imei, const CSettlement& settlement, std::string& errorText) {
  const auto claim = m_claims.find(imei);
  if (claim == m_claims.end()) return true;
  return m_pPool->Report(claim->second,
                         {StateOf(settlement.state), settlement.imeiAfter, settlement.settingsAfter, settlement.steps,
                          settlement.detail},
                         errorText);
}

std::string CImeiPoolSource::Progress() {
  std::map<EImeiState, int> counts;
  std::string error;
  if (!m_pPool->Counts(counts, error)) return "the pool did not answer";
  return std::to_string(counts[EImeiState::Free]) + " IMEIs free in the pool, " +
         std::to_string(counts[EImeiState::Claimed]) + " claimed and not confirmed";
}

std::unique_ptr<IImeiSource> OpenImeiPoolSource(const CProvisionOptions& options, std::string& error, int& status) {
  const std::optional<CPoolAddress> address = ParsePoolAddress(options.poolAddress, error);
  if (!address) {
    status = kExitUsage;
    return nullptr;
  }
  std::unique_ptr<CImeiPool> pool = CImeiPool::Open(*address, false, error);
  if (!pool || !pool->IsPool(error)) {
    status = kExitPool;
    return nullptr;
  }
  return std::make_unique<CImeiPoolSource>(std::move(pool), options.poolAddress, options.station);
}

}  // namespace tolvane
