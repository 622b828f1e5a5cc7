#include "bench/BenchLabels.h"

namespace tolvane {

std::optional<std::string> CLabelBook::ImeiOf(const std::string& label) const {
  if (const auto found = m_used.find(label); found != m_used.end()) return found->second;
  return m_pool ? m_pool->LabelImei(label) : std::nullopt;
}

void CLabelBook::Record(const std::string& label, const std::string& imei) { m_used[label] = imei; }

std::string TrimmedLabel(const std::string& text) {
  const char* blanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace tolvane
