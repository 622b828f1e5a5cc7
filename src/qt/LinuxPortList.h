#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/IPort.h"

namespace tolvane {

// One serial device the system offers, with the COM number it is shown under.
struct CPortEntry {
  int number = 0;          // COM number
  std::string device;      // short name, e.g. "ttyUSB0" or "ttySIM0"
  std::string path;        // what to open, e.g. "/dev/ttyUSB0" or "/dev/pts/3"
  std::string Caption() const;  // "COM33 (ttyUSB0)"
};

// Serial ports on Linux: the system's serial devices plus the simulated devices that
// tolvane-devsim registered for this user.
class CLinuxPortList : public IPortList {
 public:
  std::vector<std::string> ListPorts() override;
  // Looks the number up afresh, so a device plugged in since start-up can still be opened.
  std::optional<CPortEntry> FindPort(int number);
  std::vector<CPortEntry> Discover();
};

}  // namespace tolvane
