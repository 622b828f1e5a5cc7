#pragma once

#include <string>
#include <vector>

#include "link/IPort.h"

namespace tolvane::win32 {

// Port captions from the port names that SERIALCOMM's values hold: the port's name, "COM3", which fits the narrow port
// list whole. Ordered by number. A port is opened by its COM number, so values whose data is not "COM" and a number are
// left out, and a number listed twice is shown once.
std::vector<std::string> PortCaptionsFromSerialComm(const std::vector<std::wstring>& portNames);

// The COM number of a port name ("COM12" gives 12); 0 when the name is not of that form.
int ComNumberOfPortName(const std::wstring& portName);

// The serial ports that the system lists under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, read afresh at
// each call.
class CWin32PortList : public IPortList {
 public:
  std::vector<std::string> ListPorts() override;
  // The data of every value of the key: the names of the ports.
  static std::vector<std::wstring> ReadSerialComm();
};

}  // namespace tolvane::win32
