#include "cli/DryRunPort.h"

namespace tolvane {

bool CDryRunPort::Open(int, int, int) {
  std::lock_guard lock(m_lock);
  m_bOpen = true;
  return true;
}

bool CDryRunPort::IsOpen() const {
  std::lock_guard lock(m_lock);
  return m_bOpen;
}

void CDryRunPort::Close() {
  std::lock_guard lock(m_lock);
  m_bOpen = false;
}

bool CDryRunPort::Write(const std::string& text) {
  std::lock_guard lock(m_lock);
  if (!m_bOpen) return false;
  m_writes.push_back(text);
  return true;
}

std::vector<std::string> CDryRunPort::Writes() const {
  std::lock_guard lock(m_lock);
  return m_writes;
}

}  // namespace tolvane
