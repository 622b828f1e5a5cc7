#pragma once

#include <map>
#include <memory>

#include "engine/ImeiSource.h"
#include "engine/ProvisionOptions.h"
#include "pool/ImeiPool.h"

namespace tolvane {

// An IMEI pool: every IMEI is claimed, committed, before it is sent, and what became of it is
// recorded as the run learns it.
class CImeiPoolSource : public IImeiSource {
 public:
  CImeiPoolSource(std::unique_ptr<CImeiPool> pool, std::string address, std::string station)
      : m_pPool(std::move(pool)), m_strAddress(std::move(address)), m_strStation(std::move(station)) {}
  std::string Describe() override;
  std::optional<std::string> Likely(std::string& errorText) override;
  ETake Take(const CUnit& unit, std::string& imei, std::string& errorText) override;
  bool Settle(const std::string& imei, const CSettlement& settlement, std::string& errorText) override;
  std::string Progress() override;
  bool IsPool() const override { return true; }
  void Abandon() override { m_pPool->Abandon(); }

 private:
  std::unique_ptr<CImeiPool> m_pPool;
  std::string m_strAddress;
  std::string m_strStation;
  std::map<std::string, CClaim> m_claims;  // this run's, by IMEI
};

// The pool that --pool names, as a run's IMEI source; nothing, with the message and the exit
// status (a bad address is a usage error, a pool that cannot be used a pool fault), when not.
std::unique_ptr<IImeiSource> OpenImeiPoolSource(const CProvisionOptions& options, std::string& error, int& status);

}  // namespace tolvane
