#include "FakeDevice.h"

#include <utility>

namespace tolvane::qttest {

bool CFakePort::Open(int portNumber, int, int) {
  ++openCalls;
  lastOpenedPort = portNumber;
  if (refuseOpen) return false;
  m_bOpen = true;
  return true;
}

void CFakePort::Close() {
  ++closeCalls;
  m_bOpen = false;
}

bool CFakePort::Write(const std::string& text) {
  std::lock_guard lock(m_writtenLock);
  m_written.push_back(text);
  return true;
}

std::string CFakePort::ReadInput() { return std::exchange(m_input, {}); }

void CFakePort::Feed(const std::string& text) {
  m_input += text;
  if (m_sink) m_sink->OnComm();
}

std::vector<std::string> CFakePort::Written() const {
  std::lock_guard lock(m_writtenLock);
  return m_written;
}

}  // namespace tolvane::qttest
