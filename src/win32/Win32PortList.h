#pragma once

#include <string>
#include <utility>
#include <vector>

#include "link/IPort.h"

namespace tolvane::win32 {

// One value of the SERIALCOMM key: the driver's device name and the port's name ("COM3").
struct CSerialCommValue {
  std::wstring device;  // e.g. "\Device\Serial0"
  std::wstring port;
};

// Port captions "COM3 (Serial0)" from SERIALCOMM's values, ordered by number. A port is known by
// its COM number, so values whose data is not "COM" and a number cannot be opened and are left
// out, and a number listed twice is shown once.
std::vector<std::string> PortCaptionsFromSerialComm(const std::vector<CSerialCommValue>& values);

// The COM number of a port name ("COM12" gives 12); 0 when the name is not of that form.
int ComNumberOfPortName(const std::wstring& portName);

// The serial ports that the system lists under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, read afresh at
// each call.
class CWin32PortList : public IPortList {
 public:
  std::vector<std::string> ListPorts() override;
  static std::vector<CSerialCommValue> ReadSerialComm();
};

}  // namespace tolvane::win32
