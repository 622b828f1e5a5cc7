#pragma once

#include <map>
#include <optional>
#include <string>

#include "bench/BenchPool.h"

namespace tolvane {

// The labels that went with an IMEI: this session's, and with a pool, the pool's record (which
// the pool keeps itself, from the claim).
class CLabelBook {
 public:
  explicit CLabelBook(IBenchPool* pool) : m_pool(pool) {}

  std::optional<std::string> ImeiOf(const std::string& label) const;
  void Record(const std::string& label, const std::string& imei);

 private:
  IBenchPool* m_pool;
  std::map<std::string, std::string> m_used;
};

// A scanner or a person may leave spaces around what they type.
std::string TrimmedLabel(const std::string& text);

}  // namespace tolvane
