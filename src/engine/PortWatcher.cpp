#include "engine/PortWatcher.h"

#include <algorithm>
#include <utility>

namespace tolvane {

namespace {

bool Contains(const std::vector<CPortEntry>& entries, const CPortEntry& entry) {
  return std::any_of(entries.begin(), entries.end(), [&entry](const CPortEntry& other) {
    return other.number == entry.number && other.path == entry.path;
  });
}

// "COM33 (ttyUSB0)" is COM 33; 0 for anything else.
int NumberOfCaption(const std::string& caption) {
  if (!caption.starts_with("COM")) return 0;
  int number = 0;
  for (std::size_t at = 3; at < caption.size() && caption[at] >= '0' && caption[at] <= '9' && number < 100000; ++at)
    number = number * 10 + (caption[at] - '0');
  return number;
}

}  // namespace

std::vector<CPortEntry> ListPortEntries(IPortList& ports) {
  std::vector<CPortEntry> entries;
  for (const std::string& caption : ports.ListPorts())
    entries.push_back({NumberOfCaption(caption), DeviceOfCaption(caption), ports.IdentifyPort(caption).path});
  return entries;
}

std::optional<CPortEntry> FindPortEntry(IPortList& ports, int number) {
  for (CPortEntry& entry : ListPortEntries(ports))
    if (entry.number == number) return std::move(entry);
  return std::nullopt;
}

CPortWatcher::CPortWatcher(IPortList& ports, IEventLoop& loop, int periodMs)
    : m_ports(ports), m_nPeriodMs(periodMs), m_timer(loop, [this] { Poll(); }) {}

void CPortWatcher::Start() {
  m_known = ListPortEntries(m_ports);
  m_timer.Start(m_nPeriodMs);
}

void CPortWatcher::Poll() {
  m_timer.Start(m_nPeriodMs);
  // Nothing the listing reads has changed: the ports are the ones known.
  if (!m_ports.MayHaveChangedSinceListed()) return;
  const std::vector<CPortEntry> now = ListPortEntries(m_ports);
  const std::vector<CPortEntry> before = std::exchange(m_known, now);
  for (const CPortEntry& entry : before)
    if (!Contains(now, entry) && m_onGone) m_onGone(entry);
  for (const CPortEntry& entry : now)
    if (!Contains(before, entry) && m_onAppeared) m_onAppeared(entry);
}

}  // namespace tolvane
