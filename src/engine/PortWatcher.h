#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "engine/EventLoop.h"
#include "link/IPort.h"
#include "link/PortNaming.h"

namespace tolvane {

// The ports of a list as entries: number, device and what is opened.
std::vector<CPortEntry> ListPortEntries(IPortList& ports);
// The port with this COM number as the list has it now.
std::optional<CPortEntry> FindPortEntry(IPortList& ports, int number);

// Looks at the system's ports a few times a second and tells which came and which went. A device
// counts as new when its port was not there at the last look, or now leads somewhere else. Lives on
// its loop's thread.
class CPortWatcher {
 public:
  using Handler = std::function<void(const CPortEntry& entry)>;

  CPortWatcher(IPortList& ports, IEventLoop& loop, int periodMs = 250);
  void SetAppearedHandler(Handler handler) { m_onAppeared = std::move(handler); }
  void SetGoneHandler(Handler handler) { m_onGone = std::move(handler); }

  // Takes the ports there now as known, without telling them, and starts looking.
  void Start();
  void Stop() { m_timer.Stop(); }
  const std::vector<CPortEntry>& Present() const { return m_known; }

 private:
  void Poll();

  IPortList& m_ports;
  int m_nPeriodMs;
  CLoopTimer m_timer;
  std::vector<CPortEntry> m_known;
  Handler m_onAppeared;
  Handler m_onGone;
};

}  // namespace tolvane
