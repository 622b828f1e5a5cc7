#include "cli/PortWatcher.h"

#include <algorithm>

#include "qt/LinuxPortList.h"

namespace tolvane {

namespace {

bool Contains(const std::vector<CPortEntry>& entries, const CPortEntry& entry) {
  return std::any_of(entries.begin(), entries.end(), [&entry](const CPortEntry& other) {
    return other.number == entry.number && other.path == entry.path;
  });
}

}  // namespace

CPortWatcher::CPortWatcher(CLinuxPortList& ports, int periodMs) : m_ports(ports) {
  m_timer.setInterval(periodMs);
  QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
}

void CPortWatcher::Start() {
  m_known = m_ports.Discover();
  m_timer.start();
}

void CPortWatcher::Poll() {
  const std::vector<CPortEntry> now = m_ports.Discover();
  const std::vector<CPortEntry> before = std::exchange(m_known, now);
  for (const CPortEntry& entry : before)
    if (!Contains(now, entry) && m_onGone) m_onGone(entry);
  for (const CPortEntry& entry : now)
    if (!Contains(before, entry) && m_onAppeared) m_onAppeared(entry);
}

}  // namespace tolvane
