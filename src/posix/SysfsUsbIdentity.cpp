#include "posix/SysfsUsbIdentity.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

namespace tolvane {

namespace {

std::string FirstLine(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  return line;
}

bool Exists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

// The USB device above the tty: two levels up for a USB-serial bridge (tty, interface, device),
// one for a modem-class port, whose tty hangs off the interface.
std::string UsbDeviceDirectory(const std::string& ttyDirectory) {
  char resolved[PATH_MAX];
  if (!::realpath((ttyDirectory + "/device").c_str(), resolved)) return {};
  std::string directory = resolved;
  for (int level = 0; level < 3 && directory.size() > 1; ++level) {
    if (Exists(directory + "/idVendor")) return directory;
    directory.erase(directory.rfind('/'));
  }
  return {};
}

void Fill(std::string& field, const std::string& value) {
  if (field.empty()) field = value;
}

}  // namespace

void CompleteFromSysfs(CPortIdentity& identity, const std::string& deviceName, const std::string& sysRoot) {
  if (deviceName.empty() || deviceName.find('/') != std::string::npos) return;
  const std::string usb = UsbDeviceDirectory(sysRoot + "/class/tty/" + deviceName);
  if (usb.empty()) return;
  Fill(identity.serialNumber, FirstLine(usb + "/serial"));
  Fill(identity.manufacturer, FirstLine(usb + "/manufacturer"));
  Fill(identity.description, FirstLine(usb + "/product"));
  const std::string vendor = FirstLine(usb + "/idVendor"), product = FirstLine(usb + "/idProduct");
  if (!vendor.empty() && !product.empty()) Fill(identity.usbId, vendor + ":" + product);
}

}  // namespace tolvane
