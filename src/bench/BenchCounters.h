#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace tolvane {

// Passed, failed and units per hour for this session.
class CBenchCounters {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  explicit CBenchCounters(Clock clock) : m_clock(std::move(clock)) {}

  void UnitStarted();
  void UnitFinished(bool passed) { ++(passed ? m_nPassed : m_nFailed); }
  int Passed() const { return m_nPassed; }
  int Failed() const { return m_nFailed; }
  // Finished units over the time since the first one started, as things stand now.
  int UnitsPerHour() const;

 private:
  Clock m_clock;
  // The bench may stand open long before the first unit: that wait is no production time.
  std::optional<std::chrono::steady_clock::time_point> m_firstStart;
  int m_nPassed = 0;
  int m_nFailed = 0;
};

}  // namespace tolvane
