#pragma once

#include <map>
#include <string>

#include "link/IPort.h"

namespace tolvane::win32 {

// The USB vendor and product ("10c4:ea60") and serial number in a device instance id such as
// "USB\VID_10C4&PID_EA60\0001". Either stays empty where the id does not hold it: an id whose last
// part has a "&" was made up by Windows for a device without a serial number.
void ParseDeviceInstanceId(const std::wstring& instanceId, std::string& usbId, std::string& serialNumber);

// What Plug and Play knows about the present serial ports (device class Ports), by COM number:
// description, manufacturer, USB id and serial number. Empty where the system lists none.
std::map<int, CPortIdentity> ReadPlugAndPlayPorts();

}  // namespace tolvane::win32
