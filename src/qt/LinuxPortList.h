#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/IPort.h"
#include "link/PortNaming.h"

namespace tolvane {

// Serial ports on Linux: the system's serial devices plus the simulated devices that
// tolvane-devsim registered for this user.
class CLinuxPortList : public IPortList {
 public:
  // An empty registry directory means the per-user default, looked up at each discovery.
  explicit CLinuxPortList(std::string registryDirectory = {});

  std::vector<std::string> ListPorts() override;
  // A USB-serial bridge before a USB modem-class port before a simulated device; most PCs have a
  // ttyS0 with nothing behind it, which never stands out.
  std::string PreferredPort() override { return m_strPreferred; }
  // Looks the number up afresh, so a device plugged in since start-up can still be opened.
  std::optional<CPortEntry> FindPort(int number);
  // Ordered by number, one entry per number.
  std::vector<CPortEntry> Discover();

 private:
  std::string m_strRegistryDirectory;
  std::string m_strPreferred;
};

}  // namespace tolvane
