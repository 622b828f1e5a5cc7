#include "FakePort.h"

#include <algorithm>
#include <utility>

namespace tolvane::testing {

bool CFakePort::Open(int portNumber, int inBufferSize, int outBufferSize) {
  if (refuseOpen || m_bOpen) return false;
  m_bOpen = true;
  ++openCount;
  openedPort = portNumber;
  openedInBuffer = inBufferSize;
  openedOutBuffer = outBufferSize;
  return true;
}

bool CFakePort::ApplySettings(const std::string& settings, std::string& errorText) {
  if (!settingsError.empty()) {
    errorText = settingsError;
    return false;
  }
  appliedSettings = settings;
  return true;
}

void CFakePort::Close() {
  m_bOpen = false;
  ++closeCount;
  m_input.clear();
}

bool CFakePort::Write(const std::string& text) {
  if (failWrites) return false;
  if (onWrite) onWrite(text);
  std::lock_guard lock(m_writesLock);
  m_writes.push_back(text);
  return true;
}

std::string CFakePort::ReadInput() { return std::exchange(m_input, {}); }

void CFakePort::Feed(const std::string& piece) {
  m_input += piece;
  if (m_sink) m_sink->OnComm();
}

void CFakePort::Vanish() {
  Drop();
  ReportLost();
}

void CFakePort::Drop() { m_bOpen = false; }

void CFakePort::ReportLost() {
  if (m_sink) m_sink->OnPortLost();
}

std::vector<std::string> CFakePort::Writes() const {
  std::lock_guard lock(m_writesLock);
  return m_writes;
}

std::string CFakePort::WrittenText() const {
  std::string all;
  for (const auto& write : Writes()) all += write;
  return all;
}

void CFakePort::ClearWrites() {
  std::lock_guard lock(m_writesLock);
  m_writes.clear();
}

std::vector<std::string> CFakePortList::ListPorts() {
  ++listCount;
  const bool listed = std::find(ports.begin(), ports.end(), remembered) != ports.end();
  m_strRememberedListed = listed ? remembered : std::string();
  return ports;
}

void CFakePortList::RememberPort(const std::string& caption) {
  remembered = caption;
  const bool listed = std::find(ports.begin(), ports.end(), caption) != ports.end();
  m_strRememberedListed = listed ? caption : std::string();
}

CPortIdentity CFakePortList::IdentifyPort(const std::string& caption) {
  const auto found = identities.find(caption);
  return found == identities.end() ? CPortIdentity{} : found->second;
}

}  // namespace tolvane::testing
