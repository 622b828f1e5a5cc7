#pragma once

#include <QTimer>
#include <functional>
#include <vector>

#include "link/PortNaming.h"

namespace tolvane {

class CLinuxPortList;

// Looks at the system's ports a few times a second and tells which came and which went. A device
// counts as new when its port was not there at the last look, or now leads somewhere else.
class CPortWatcher {
 public:
  using Handler = std::function<void(const CPortEntry& entry)>;

  explicit CPortWatcher(CLinuxPortList& ports, int periodMs = 250);
  void SetAppearedHandler(Handler handler) { m_onAppeared = std::move(handler); }
  void SetGoneHandler(Handler handler) { m_onGone = std::move(handler); }

  // Takes the ports there now as known, without telling them, and starts looking.
  void Start();
  void Stop() { m_timer.stop(); }
  const std::vector<CPortEntry>& Present() const { return m_known; }

 private:
  void Poll();

  CLinuxPortList& m_ports;
  QTimer m_timer;
  std::vector<CPortEntry> m_known;
  Handler m_onAppeared;
  Handler m_onGone;
};

}  // namespace tolvane
