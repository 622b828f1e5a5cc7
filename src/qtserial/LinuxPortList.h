#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "link/PortCatalogue.h"
#include "link/PortNaming.h"

namespace tolvane {

// Serial ports on Linux: the system's serial devices plus the simulated devices that
// tolvane-devsim registered for this user.
class CLinuxPortList : public CPortCatalogue {
 public:
  // An empty registry directory means the per-user default, looked up at each discovery.
  explicit CLinuxPortList(std::string registryDirectory = {}, IDeviceMemory* memory = nullptr);
  ~CLinuxPortList() override { WaitForListingInAdvance(); }

  // Looks the number up afresh, so a device plugged in since start-up can still be opened.
  std::optional<CPortEntry> FindPort(int number);
  // Ordered by number, one entry per number; with what the system knows of each device, by device.
  std::vector<CPortEntry> Discover(std::map<std::string, CPortIdentity>* identities = nullptr);

 protected:
  // A USB-serial bridge is likelier than a USB modem-class port, which is likelier than a simulated
  // device; most PCs have a ttyS0 with nothing behind it, which never stands out.
  CListing Enumerate() override;
  // Serial devices come and go as nodes under /dev; simulated ones as live entries of the registry,
  // which costs little to read next to asking udev about every terminal.
  std::string ListingStamp() override;

 private:
  std::string RegistryDirectory() const;

  std::string m_strRegistryDirectory;
};

}  // namespace tolvane
