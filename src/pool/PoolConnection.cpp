#include "pool/PoolConnection.h"

#include <chrono>
#include <ctime>

namespace tolvane {

std::string PoolTimestamp() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
  // Each C library has its own thread-safe call.
#if defined(_WIN32)
  gmtime_s(&utc, &now);
#else
  gmtime_r(&now, &utc);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string CImeiPool::CConnection::Describe(const std::string& what, const std::string& reason) const {
  const auto first = reason.find_first_not_of(" \t\r\n");
  const std::string trimmed =
      first == std::string::npos ? std::string() : reason.substr(first, reason.find_last_not_of(" \t\r\n") - first + 1);
  return what + " (" + m_address.shown + "): " + trimmed;
}

std::string CImeiPool::CConnection::Fault(const std::string& what, const std::string& reason) const {
  switch (m_driver->State()) {
    case IPoolConnection::EState::Unanswered: return Describe("the pool did not answer", reason);
    case IPoolConnection::EState::Lost: return Describe("the connection to the pool was lost", reason);
    case IPoolConnection::EState::Open: break;
  }
  return Describe(what, reason);
}

bool CImeiPool::CConnection::Run(CPoolRows& rows, const std::string& sql, std::initializer_list<PoolValue> values,
                                 std::string& errorText) {
  return Run(rows, sql, std::vector<PoolValue>(values), errorText);
}

bool CImeiPool::CConnection::Run(CPoolRows& rows, const std::string& sql, const std::vector<PoolValue>& values,
                                 std::string& errorText) {
  std::string reason;
  return Explain(m_driver->Execute(sql, values, rows, reason), values.size() != 0, reason, errorText);
}

bool CImeiPool::CConnection::Each(const std::string& sql, std::initializer_list<PoolValue> values,
                                  const PoolRowHandler& row, std::string& errorText) {
  std::string reason;
  return Explain(m_driver->Each(sql, values, row, reason), values.size() != 0, reason, errorText);
}

bool CImeiPool::CConnection::Explain(IPoolConnection::EExecuted executed, bool hasValues, const std::string& reason,
                                     std::string& errorText) const {
  switch (executed) {
    case IPoolConnection::EExecuted::Done: return true;
    // Only a statement with values has a step of its own that can refuse it; any fault of the rest
    // (the schema, the reads) is the pool failing.
    case IPoolConnection::EExecuted::Refused:
      if (hasValues) {
        errorText = Fault("the pool refused a statement", reason);
        return false;
      }
      break;
    case IPoolConnection::EExecuted::Failed: break;
  }
  errorText = Fault("the pool failed", reason);
  return false;
}

bool CImeiPool::CConnection::Run(const std::string& sql, std::initializer_list<PoolValue> values,
                                 std::string& errorText) {
  CPoolRows rows;
  return Run(rows, sql, values, errorText);
}

bool CImeiPool::CConnection::BeginWrite(std::string& errorText) {
  std::string reason;
  if (m_driver->BeginWrite(reason)) return true;
  errorText = Fault("the pool is busy", reason);
  return false;
}

bool CImeiPool::CConnection::Commit(std::string& errorText) {
  std::string reason;
  if (m_driver->Commit(reason)) return true;
  errorText = Fault("the pool did not commit", reason);
  Rollback();
  return false;
}

}  // namespace tolvane
