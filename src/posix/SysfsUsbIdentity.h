#pragma once

#include <string>

#include "link/IPort.h"

namespace tolvane {

// Fills what `identity` lacks of a USB serial port's device from the kernel's own record under
// sysfs: the serial number, vendor and product ids, manufacturer and product. Without a udev
// daemon (a container, a minimal or rescue system) this is the only place they are kept. Leaves
// every field as it is for a port that is not on USB.
void CompleteFromSysfs(CPortIdentity& identity, const std::string& deviceName, const std::string& sysRoot = "/sys");

}  // namespace tolvane
