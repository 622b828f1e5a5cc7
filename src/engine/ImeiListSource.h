#pragma once

#include "engine/ImeiList.h"
#include "engine/ImeiSource.h"

namespace tolvane {

// A list file on this PC: what was taken is only recorded, in its .done file.
class CImeiListSource : public IImeiSource {
 public:
  CImeiListSource(CImeiList list, std::string path) : m_list(std::move(list)), m_strPath(std::move(path)) {}
  std::string Describe() override;
  std::optional<std::string> Likely(std::string& errorText) override;
  ETake Take(const CUnit& unit, std::string& imei, std::string& errorText) override;
  bool Settle(const std::string&, const CSettlement&, std::string&) override { return true; }
  std::string Progress() override;
  bool IsPool() const override { return false; }

 private:
  CImeiList m_list;
  std::string m_strPath;
};

}  // namespace tolvane
