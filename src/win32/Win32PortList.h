#pragma once

#include <map>
#include <string>
#include <vector>

#include "link/PortCatalogue.h"

namespace tolvane::win32 {

// One value of SERIALCOMM: the driver's device name ("\Device\VCP0") and the port's name ("COM3").
struct CSerialCommValue {
  std::wstring device;
  std::wstring port;
};

// Port captions from the port names that SERIALCOMM's values hold: the port's name, "COM3", which fits the narrow port
// list whole. Ordered by number. A port is opened by its COM number, so values whose data is not "COM" and a number are
// left out, and a number listed twice is shown once.
std::vector<std::string> PortCaptionsFromSerialComm(const std::vector<std::wstring>& portNames);

// The COM number of a port name ("COM12" gives 12); 0 when the name is not of that form.
int ComNumberOfPortName(const std::wstring& portName);

// The caption of the port a user most likely means: the lowest-numbered one that a plug-in adapter's driver made (any
// device name but the PC's own "\Device\Serial<n>" ports, which mostly have nothing behind them, and Bluetooth's
// virtual ports). Empty when none stands out.
std::string LikelyDevicePort(const std::vector<CSerialCommValue>& values);

// What is known about each port of the list, by caption: the driver's device name from SERIALCOMM
// ("\Device\USBSER000") as the path, and whatever Plug and Play says of the port with that number.
std::map<std::string, CPortIdentity> IdentifyPorts(const std::vector<CSerialCommValue>& values,
                                                   const std::map<int, CPortIdentity>& plugAndPlay);

// The serial ports that the system lists under HKLM\HARDWARE\DEVICEMAP\SERIALCOMM, read afresh at
// each call. Windows gives a device the same COM number each time it is plugged in, so the number is
// what is remembered, unless the device has a USB serial number.
class CWin32PortList : public CPortCatalogue {
 public:
  explicit CWin32PortList(IDeviceMemory* memory = nullptr) : CPortCatalogue(memory) {}

  // Every value of the key.
  static std::vector<CSerialCommValue> ReadSerialComm();

 protected:
  CListing Enumerate() override;
};

}  // namespace tolvane::win32
