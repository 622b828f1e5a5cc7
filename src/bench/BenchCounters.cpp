#include "bench/BenchCounters.h"

#include <algorithm>

namespace tolvane {

void CBenchCounters::UnitStarted() {
  if (!m_firstStart) m_firstStart = m_clock();
}

int CBenchCounters::UnitsPerHour() const {
  const long long units = m_nPassed + m_nFailed;
  if (!m_firstStart || units == 0) return 0;
  const long long elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(m_clock() - *m_firstStart).count();
  return static_cast<int>(units * 3'600'000 / std::max(elapsedMs, 1LL));
}

}  // namespace tolvane
