#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/IPort.h"
#include "link/PortNaming.h"

namespace tolvane {

class CDeviceMemory;

// Serial ports on Linux: the system's serial devices plus the simulated devices that
// tolvane-devsim registered for this user.
class CLinuxPortList : public IPortList {
 public:
  // An empty registry directory means the per-user default, looked up at each discovery. Without a
  // memory, no device is remembered.
  explicit CLinuxPortList(std::string registryDirectory = {}, CDeviceMemory* memory = nullptr);

  std::vector<std::string> ListPorts() override;
  // A USB-serial bridge before a USB modem-class port before a simulated device; most PCs have a
  // ttyS0 with nothing behind it, which never stands out.
  std::string PreferredPort() override { return m_strPreferred; }
  CPortIdentity IdentifyPort(const std::string& caption) override;
  void RememberPort(const std::string& caption) override;
  bool HasRememberedPort() override;
  std::string RememberedPort() override { return m_strRemembered; }
  // Looks the number up afresh, so a device plugged in since start-up can still be opened.
  std::optional<CPortEntry> FindPort(int number);
  // Ordered by number, one entry per number; with what the system knows of each device, by device.
  std::vector<CPortEntry> Discover(std::map<std::string, CPortIdentity>* identities = nullptr);

 private:
  std::string m_strRegistryDirectory;
  CDeviceMemory* m_pMemory;
  std::string m_strPreferred;
  std::string m_strRemembered;
  std::map<std::string, CPortIdentity> m_identities;  // by caption, as of the last ListPorts
};

}  // namespace tolvane
