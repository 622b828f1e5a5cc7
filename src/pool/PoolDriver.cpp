#include "pool/PoolDriver.h"

namespace tolvane {

const std::string& CPoolRows::Text(std::size_t column) const {
  static const std::string null;
  const std::optional<std::string>& value = m_rows[m_row][column];
  return value ? *value : null;
}

}  // namespace tolvane
