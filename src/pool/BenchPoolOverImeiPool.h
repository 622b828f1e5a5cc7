#pragma once

#include <memory>
#include <string>

#include "bench/BenchPool.h"
#include "pool/ImeiPool.h"

namespace tolvane {

// The bench's questions to an IMEI pool, on a connection of the bench's own: the job's source
// keeps its connection on the job's thread.
class CBenchPoolOverImeiPool : public IBenchPool {
 public:
  CBenchPoolOverImeiPool(std::unique_ptr<CImeiPool> pool, std::string station)
      : m_pPool(std::move(pool)), m_strStation(std::move(station)) {}

  bool Counts(CPoolCounts& counts, std::string& errorText) override;
  bool Unconfirmed(std::vector<CUnconfirmedClaim>& claims, std::string& errorText) override;
  bool Release(const std::string& imei, std::string& errorText) override;
  std::optional<std::string> LabelImei(const std::string& label) override;

 private:
  std::unique_ptr<CImeiPool> m_pPool;
  std::string m_strStation;  // who released a claim, in the pool's record
};

// The pool at `poolAddress` (as --pool gives it) for a bench; nothing, with the reason, when the
// address is wrong, the pool cannot be reached or is not a pool.
std::unique_ptr<IBenchPool> OpenBenchPool(const std::string& poolAddress, const std::string& station,
                                          std::string& error);

}  // namespace tolvane
